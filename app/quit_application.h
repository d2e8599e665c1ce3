#pragma once

// Closes every top-level window, one after the other, then ends the event
// loop. Safe to call again while it runs.
void QuitApplication();
