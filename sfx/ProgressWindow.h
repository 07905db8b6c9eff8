#pragma once

// Shows the modal progress window and returns when it has ended; the extraction flow runs inside
// it on its first timer tick.
void RunProgressWindow();
