#pragma once

// A person at the controls: the stick, the throttle and the brakes as the keyboard leaves them.
struct HandControls {
    double elevator = 0; // -1 stick fully forward (nose down) .. 1 fully back (nose up)
    double aileron = 0;  // -1 full left .. 1 full right
    double throttle = 0; // 0 idle .. 1 full
    bool brakes = false;
};
