// Starts a program on the current X display and reports how long it took
// until its window with the given title was mapped, exposed and first drawn
// into, then stops it and reports its peak resident memory.
//
//   map_watcher [--timeout-ms N] TITLE PROGRAM [ARGUMENTS...]
//
// Prints one line: start_to_map_ms=... start_to_expose_ms=...
// start_to_paint_ms=... shown_ms=... maxrss_kb=... cpu_ms=...
// cpu_ms is the processor time the program used until it was stopped, which
// load from other processes disturbs less than the elapsed time.
// shown_ms is the first drawing into the mapped window (from the DAMAGE
// extension); without that extension it falls back to the first Expose.
// Start is taken in the child just before exec. There must be no window
// manager, so that top-level windows are direct children of the root.

#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Reply = std::unique_ptr<void, decltype(&std::free)>;

std::int64_t nowNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

double ms(std::int64_t ns)
{
    return static_cast<double>(ns) / 1e6;
}

xcb_atom_t internAtom(xcb_connection_t *c, std::string_view name)
{
    xcb_intern_atom_reply_t *r = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(name.size()), name.data()), nullptr);
    Reply hold(r, &std::free);
    return r ? r->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

std::string textProperty(xcb_connection_t *c, xcb_window_t w, xcb_atom_t property)
{
    if (property == XCB_ATOM_NONE)
        return {};
    xcb_get_property_reply_t *r =
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024), nullptr);
    Reply hold(r, &std::free);
    if (!r || r->format != 8)
        return {};
    return std::string(static_cast<const char *>(xcb_get_property_value(r)),
                       static_cast<std::size_t>(xcb_get_property_value_length(r)));
}

int usage()
{
    std::fprintf(stderr, "usage: map_watcher [--timeout-ms N] TITLE PROGRAM [ARGUMENTS...]\n");
    return 2;
}

struct ChildUsage {
    long maxRssKb = -1;
    double cpuMs = -1;
};

double cpuMs(const rusage &u)
{
    return (static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3
            + static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3);
}

// Stops the child, waits for it and returns its peak resident set in KiB and
// the processor time it used.
ChildUsage stopChild(pid_t child)
{
    kill(child, SIGTERM);
    rusage usage{};
    int status = 0;
    const std::int64_t deadline = nowNs() + 5'000'000'000;
    for (;;) {
        const pid_t done = wait4(child, &status, WNOHANG, &usage);
        if (done == child)
            return {usage.ru_maxrss, cpuMs(usage)};
        if (done < 0 && errno != EINTR)
            return {};
        if (nowNs() > deadline) {
            kill(child, SIGKILL);
            if (wait4(child, &status, 0, &usage) == child)
                return {usage.ru_maxrss, cpuMs(usage)};
            return {};
        }
        usleep(1000);
    }
}

} // namespace

int main(int argc, char **argv)
{
    int first = 1;
    long timeoutMs = 20000;
    if (argc > 2 && std::strcmp(argv[1], "--timeout-ms") == 0) {
        timeoutMs = std::strtol(argv[2], nullptr, 10);
        first = 3;
    }
    if (argc - first < 2)
        return usage();
    const std::string title = argv[first];
    char **program = argv + first + 1;

    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "map_watcher: cannot open the display\n");
        return 1;
    }
    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t root = screen->root;

    // The damage extension tells when the client first draws into the window.
    std::uint8_t damageEvent = 0;
    bool haveDamage = false;
    if (const xcb_query_extension_reply_t *ext = xcb_get_extension_data(c, &xcb_damage_id); ext && ext->present) {
        xcb_damage_query_version_reply_t *v = xcb_damage_query_version_reply(
            c, xcb_damage_query_version(c, XCB_DAMAGE_MAJOR_VERSION, XCB_DAMAGE_MINOR_VERSION), nullptr);
        Reply hold(v, &std::free);
        haveDamage = v != nullptr;
        damageEvent = ext->first_event;
    }

    const xcb_atom_t netWmName = internAtom(c, "_NET_WM_NAME");
    const std::uint32_t rootMask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &rootMask);
    // A round trip, so that the selection is in force before the child starts.
    Reply sync(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr), &std::free);
    fcntl(xcb_get_file_descriptor(c), F_SETFD, FD_CLOEXEC);

    int startPipe[2];
    if (pipe2(startPipe, O_CLOEXEC) != 0) {
        std::perror("map_watcher: pipe");
        return 1;
    }
    const pid_t child = fork();
    if (child < 0) {
        std::perror("map_watcher: fork");
        return 1;
    }
    if (child == 0) {
        const std::int64_t start = nowNs();
        if (write(startPipe[1], &start, sizeof start) != static_cast<ssize_t>(sizeof start))
            _exit(126);
        execvp(program[0], program);
        _exit(127);
    }
    close(startPipe[1]);
    std::int64_t start = 0;
    if (read(startPipe[0], &start, sizeof start) != static_cast<ssize_t>(sizeof start)) {
        std::fprintf(stderr, "map_watcher: the child did not start\n");
        stopChild(child);
        return 1;
    }
    close(startPipe[0]);

    // Watch every new top-level window for exposure and drawing: the map may
    // come before its title can be read.
    std::map<xcb_window_t, xcb_damage_damage_t> damages;
    xcb_window_t target = XCB_WINDOW_NONE;
    std::int64_t mapped = 0, exposed = 0, painted = 0;
    const std::int64_t deadline = start + static_cast<std::int64_t>(timeoutMs) * 1000000;
    const int fd = xcb_get_file_descriptor(c);
    bool failed = false;

    while (!(mapped && exposed && (painted || !haveDamage))) {
        xcb_generic_event_t *event = xcb_poll_for_event(c);
        if (!event) {
            if (xcb_connection_has_error(c)) {
                std::fprintf(stderr, "map_watcher: lost the display\n");
                failed = true;
                break;
            }
            int status = 0;
            if (waitpid(child, &status, WNOHANG) == child) {
                std::fprintf(stderr, "map_watcher: the program ended before its window was shown\n");
                return 1;
            }
            const std::int64_t left = deadline - nowNs();
            if (left <= 0) {
                std::fprintf(stderr, "map_watcher: no window titled \"%s\" within %ld ms\n", title.c_str(), timeoutMs);
                failed = true;
                break;
            }
            pollfd p{fd, POLLIN, 0};
            poll(&p, 1, static_cast<int>(std::min<std::int64_t>(left / 1000000 + 1, 50)));
            continue;
        }
        const std::int64_t at = nowNs();
        const std::uint8_t type = event->response_type & 0x7f;
        if (type == XCB_CREATE_NOTIFY) {
            const auto *e = reinterpret_cast<const xcb_create_notify_event_t *>(event);
            if (e->parent == root) {
                const std::uint32_t mask = XCB_EVENT_MASK_EXPOSURE;
                xcb_change_window_attributes(c, e->window, XCB_CW_EVENT_MASK, &mask);
                if (haveDamage) {
                    const xcb_damage_damage_t d = xcb_generate_id(c);
                    xcb_damage_create(c, d, e->window, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
                    damages[e->window] = d;
                }
                xcb_flush(c);
            }
        } else if (type == XCB_MAP_NOTIFY && target == XCB_WINDOW_NONE) {
            const auto *e = reinterpret_cast<const xcb_map_notify_event_t *>(event);
            if (e->event == root && !e->override_redirect
                && (textProperty(c, e->window, netWmName) == title
                    || textProperty(c, e->window, XCB_ATOM_WM_NAME) == title)) {
                target = e->window;
                mapped = at;
            }
        } else if (type == XCB_EXPOSE && target != XCB_WINDOW_NONE) {
            const auto *e = reinterpret_cast<const xcb_expose_event_t *>(event);
            if (e->window == target && !exposed)
                exposed = at;
        } else if (haveDamage && type == damageEvent + XCB_DAMAGE_NOTIFY && target != XCB_WINDOW_NONE) {
            const auto *e = reinterpret_cast<const xcb_damage_notify_event_t *>(event);
            if (e->drawable == target && mapped) {
                if (!painted)
                    painted = at;
            } else if (auto d = damages.find(e->drawable); d != damages.end()) {
                // Re-arm, so that the next drawing into it is reported too.
                xcb_damage_subtract(c, d->second, XCB_NONE, XCB_NONE);
                xcb_flush(c);
            }
        }
        std::free(event);
    }

    const ChildUsage usage = stopChild(child);
    xcb_disconnect(c);
    if (failed)
        return 1;

    const std::int64_t shown = haveDamage ? painted : exposed;
    std::printf("start_to_map_ms=%.3f start_to_expose_ms=%.3f start_to_paint_ms=%.3f shown_ms=%.3f maxrss_kb=%ld "
                "cpu_ms=%.1f\n",
                ms(mapped - start), ms(exposed - start), haveDamage ? ms(painted - start) : -1.0, ms(shown - start),
                usage.maxRssKb, usage.cpuMs);
    return 0;
}
