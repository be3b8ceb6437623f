// The rating arithmetic of the server: K = 32, the change rounded half up.
#pragma once

namespace tessik {

// The rating after one game of a player rated r against one rated o, with score s (1, 0.5, 0).
int EloUpdate(int r, int o, double s);

struct PreGameRatings {
  int first;
  int second;  // the first again when only one rating leads there
};

// The ratings before one game from which score s leads to a, the opponent's rating after it
// being b (moved by the same steps the other way).
PreGameRatings PreGameCandidates(int a, int b, double s);

// Whether b is at least as near to x as c.
bool IsNearer(int x, int b, int c);

}  // namespace tessik
