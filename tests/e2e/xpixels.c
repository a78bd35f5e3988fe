/* Counts the pixels of a rectangle of the screen (root window coordinates)
 * whose red, green and blue each lie within a range (0 to 255): what the
 * real-window tests read a window's state from while they wait for it,
 * in a few milliseconds where a screenshot through ImageMagick takes a
 * third of a second. Prints the count; with "top", the first row of the
 * rectangle (from 0) that holds such a pixel, -1 when none does (how high
 * a bar has risen).
 *   xpixels X Y W H RED_MIN RED_MAX GREEN_MIN GREEN_MAX BLUE_MIN BLUE_MAX [top] */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* A colour part of a pixel, as 0 to 255, from its mask. */
static unsigned part(unsigned long pixel, unsigned long mask) {
    if (mask == 0) return 0;
    while (!(mask & 1)) {
        mask >>= 1;
        pixel >>= 1;
    }
    return (unsigned)((pixel & mask) * 255 / mask);
}

int main(int argc, char** argv) {
    const int top = argc == 12 && strcmp(argv[11], "top") == 0;
    if (argc != 11 && !top) {
        fprintf(stderr, "usage: xpixels X Y W H RED_MIN RED_MAX GREEN_MIN GREEN_MAX BLUE_MIN BLUE_MAX [top]\n");
        return 2;
    }
    long v[10];
    for (int k = 0; k < 10; ++k) v[k] = strtol(argv[k + 1], NULL, 10);
    Display* display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "xpixels: cannot open the display\n");
        return 1;
    }
    const Window root = DefaultRootWindow(display);
    XWindowAttributes screen;
    XGetWindowAttributes(display, root, &screen);
    /* The part of the rectangle on the screen. */
    long x0 = v[0] < 0 ? 0 : v[0], y0 = v[1] < 0 ? 0 : v[1];
    long x1 = v[0] + v[2] > screen.width ? screen.width : v[0] + v[2];
    long y1 = v[1] + v[3] > screen.height ? screen.height : v[1] + v[3];
    long count = 0, first = -1;
    if (x1 > x0 && y1 > y0) {
        XImage* image = XGetImage(display, root, (int)x0, (int)y0, (unsigned)(x1 - x0), (unsigned)(y1 - y0),
                                  AllPlanes, ZPixmap);
        if (!image) {
            fprintf(stderr, "xpixels: cannot read the screen\n");
            return 1;
        }
        for (long y = 0; y < y1 - y0; ++y) {
            for (long x = 0; x < x1 - x0; ++x) {
                const unsigned long p = XGetPixel(image, (int)x, (int)y);
                const unsigned r = part(p, image->red_mask), g = part(p, image->green_mask), b = part(p, image->blue_mask);
                const int inside = r >= v[4] && r <= v[5] && g >= v[6] && g <= v[7] && b >= v[8] && b <= v[9];
                count += inside;
                if (inside && first < 0) first = y + (y0 - v[1]);
            }
        }
        XDestroyImage(image);
    }
    XCloseDisplay(display);
    printf("%ld\n", top ? first : count);
    return 0;
}
