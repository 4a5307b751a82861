#include "ui/placement.h"

Point centredOnScreen(long screenWidth, long screenHeight, long width, long height) {
    return Point{(screenWidth - width) / 2, (screenHeight - height) / 2};
}

Point centredInside(const Rect& reference, const Rect& workArea, long width, long height) {
    Point at{(reference.left + reference.right) / 2 - width / 2, (reference.top + reference.bottom) / 2 - height / 2};
    if (at.x < workArea.left)
        at.x = workArea.left;
    else if (at.x + width > workArea.right)
        at.x = workArea.right - width;
    if (at.y < workArea.top)
        at.y = workArea.top;
    else if (at.y + height > workArea.bottom)
        at.y = workArea.bottom - height;
    return at;
}
