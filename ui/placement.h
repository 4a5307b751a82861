#pragma once

// Screen rectangles in pixels, as the platform gives them.
struct Rect {
    long left, top, right, bottom;
};

struct Point {
    long x, y;
};

// The splash's place: centred on a screen of the given size (odd pixels fall right and below).
Point centredOnScreen(long screenWidth, long screenHeight, long width, long height);

// The dialog's place: centred on the reference rectangle, then moved back inside the work area.
Point centredInside(const Rect& reference, const Rect& workArea, long width, long height);
