#pragma once
// Whether the converting thread can be given a higher CPU priority: lowering
// a nice value needs administrator rights or a nice limit that allows it.

namespace vs {

// The nice value this process started with (0 when it cannot be read).
int CurrentNice();

// Whether a thread of this process may go `steps` below baseNice.
bool MayRaisePriority(int baseNice, int steps);

}  // namespace vs
