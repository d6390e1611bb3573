#pragma once
// Points, segments and windows of the world plane, x to the right and y
// upwards: what the program's arithmetic computes and its surfaces show.

namespace tensim {

struct TWorldPoint {
    double X = 0;
    double Y = 0;
};

// A line or an arrow from (X1, Y1) to (X2, Y2).
struct TWorldSegment {
    double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
};

// A world window from its lower-left (X1, Y1) to its upper-right (X2, Y2).
struct TWorldWindow {
    double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
};

} // namespace tensim
