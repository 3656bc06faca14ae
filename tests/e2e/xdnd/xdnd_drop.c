/* A drag source for tests: drops files on the X window at a screen point, as a
 * file manager would, through the XDND protocol (version 5).
 *
 *   xdnd_drop X Y FILE...
 *
 * Exits 0 when the target took the drop and said it finished, 1 when it
 * refused or did not answer in time, 2 on bad use. */
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/select.h>
#include <time.h>

static Display *display;
static Atom xdndAware, xdndSelection, xdndEnter, xdndPosition, xdndStatus, xdndDrop, xdndFinished,
    xdndLeave, xdndActionCopy, uriList;

static double Now(void) {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

static int IsAware(Window window) {
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char *data = NULL;
    if (XGetWindowProperty(display, window, xdndAware, 0, 1, False, AnyPropertyType, &type, &format, &count,
                           &after, &data) != Success)
        return 0;
    if (data) XFree(data);
    return type != None;
}

/* The topmost window under the point that takes drops. */
static Window FindTarget(int x, int y) {
    Window root = DefaultRootWindow(display), parent = root, child = None, found = None;
    int localX, localY;
    while (XTranslateCoordinates(display, root, parent, x, y, &localX, &localY, &child) && child != None) {
        if (found == None && IsAware(child)) found = child;
        parent = child;
    }
    return found;
}

static void Send(Window target, Atom type, long l0, long l1, long l2, long l3, long l4) {
    XEvent event;
    memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.window = target;
    event.xclient.message_type = type;
    event.xclient.format = 32;
    event.xclient.data.l[0] = l0;
    event.xclient.data.l[1] = l1;
    event.xclient.data.l[2] = l2;
    event.xclient.data.l[3] = l3;
    event.xclient.data.l[4] = l4;
    XSendEvent(display, target, False, NoEventMask, &event);
    XFlush(display);
}

/* "file://" URIs, one a line, with every byte outside a safe set escaped. */
static char *UriList(int count, char **paths) {
    size_t size = 1;
    for (int i = 0; i < count; ++i) size += 7 + 3 * strlen(paths[i]) + 2;
    char *list = malloc(size), *out = list;
    for (int i = 0; i < count; ++i) {
        out += sprintf(out, "file://");
        for (const unsigned char *p = (const unsigned char *)paths[i]; *p; ++p) {
            if ((*p >= 'a' && *p <= 'z') || (*p >= 'A' && *p <= 'Z') || (*p >= '0' && *p <= '9') ||
                strchr("/-_.~", *p))
                *out++ = (char)*p;
            else
                out += sprintf(out, "%%%02X", *p);
        }
        *out++ = '\r';
        *out++ = '\n';
    }
    *out = '\0';
    return list;
}

/* Waits for a client message of the given type, answering selection requests. */
static int WaitFor(Window source, Atom type, const char *uris, XEvent *result) {
    double deadline = Now() + 10.0;
    int fd = ConnectionNumber(display);
    while (Now() < deadline) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == SelectionRequest) {
                XSelectionRequestEvent *request = &event.xselectionrequest;
                XEvent reply;
                memset(&reply, 0, sizeof reply);
                reply.xselection.type = SelectionNotify;
                reply.xselection.requestor = request->requestor;
                reply.xselection.selection = request->selection;
                reply.xselection.target = request->target;
                reply.xselection.time = request->time;
                reply.xselection.property = None;
                if (request->target == uriList) {
                    Atom property = request->property != None ? request->property : request->target;
                    XChangeProperty(display, request->requestor, property, uriList, 8, PropModeReplace,
                                    (const unsigned char *)uris, (int)strlen(uris));
                    reply.xselection.property = property;
                }
                XSendEvent(display, request->requestor, False, NoEventMask, &reply);
                XFlush(display);
            } else if (event.type == ClientMessage && event.xclient.message_type == type &&
                       event.xclient.window == source) {
                *result = event;
                return 1;
            }
        }
        fd_set read;
        FD_ZERO(&read);
        FD_SET(fd, &read);
        struct timeval wait = {0, 50000};
        select(fd + 1, &read, NULL, NULL, &wait);
    }
    return 0;
}

int main(int argc, char **argv) {
    if (argc < 4) {
        fprintf(stderr, "usage: xdnd_drop X Y FILE...\n");
        return 2;
    }
    int x = atoi(argv[1]), y = atoi(argv[2]);
    display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "xdnd_drop: no X display\n");
        return 2;
    }
    xdndAware = XInternAtom(display, "XdndAware", False);
    xdndSelection = XInternAtom(display, "XdndSelection", False);
    xdndEnter = XInternAtom(display, "XdndEnter", False);
    xdndPosition = XInternAtom(display, "XdndPosition", False);
    xdndStatus = XInternAtom(display, "XdndStatus", False);
    xdndDrop = XInternAtom(display, "XdndDrop", False);
    xdndFinished = XInternAtom(display, "XdndFinished", False);
    xdndLeave = XInternAtom(display, "XdndLeave", False);
    xdndActionCopy = XInternAtom(display, "XdndActionCopy", False);
    uriList = XInternAtom(display, "text/uri-list", False);

    Window target = FindTarget(x, y);
    if (target == None) {
        fprintf(stderr, "xdnd_drop: no window that takes drops at %d,%d\n", x, y);
        return 1;
    }
    Window source = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    char *uris = UriList(argc - 3, argv + 3);
    XSetSelectionOwner(display, xdndSelection, source, CurrentTime);

    XEvent reply;
    Send(target, xdndEnter, (long)source, 5L << 24, (long)uriList, None, None);
    Send(target, xdndPosition, (long)source, 0, ((long)x << 16) | y, CurrentTime, (long)xdndActionCopy);
    if (!WaitFor(source, xdndStatus, uris, &reply) || !(reply.xclient.data.l[1] & 1)) {
        Send(target, xdndLeave, (long)source, 0, 0, 0, 0);
        fprintf(stderr, "xdnd_drop: the target refused the drop\n");
        return 1;
    }
    Send(target, xdndDrop, (long)source, 0, CurrentTime, 0, 0);
    if (!WaitFor(source, xdndFinished, uris, &reply)) {
        fprintf(stderr, "xdnd_drop: the target did not finish the drop\n");
        return 1;
    }
    free(uris);
    XCloseDisplay(display);
    return 0;
}
