#pragma once

// Registers the built-in pictures and icon; the windows live in a static
// library, so its resources are registered by hand. Safe to call repeatedly.
void InitResources();

// Keeps Qt's pixmap cache from growing with every reading. The style caches
// drawn controls under keys that name the palette, and every results window
// brings new palettes, so the cache would only ever gain entries. Nothing it
// held is costly to draw again.
void LimitPixmapCache();
