// The main frame window.
#pragma once

class mapp;

// Creates the frame, shows it and paints it at once. False when it could
// not be created.
bool start_frame_window(mapp& app);
