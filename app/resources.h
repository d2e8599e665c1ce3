#pragma once

// Registers the built-in pictures and icon; the windows live in a static
// library, so its resources are registered by hand. Safe to call repeatedly.
void InitResources();
