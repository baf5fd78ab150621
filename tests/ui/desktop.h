// A desktop of the test's own, as users have one: an X server (Xvfb) on a display nobody else
// uses, with a window manager (openbox) that frames, places and maps the windows. What only a
// real desktop shows is tested here: a window painted before the window manager has put it on
// the screen loses that picture, which the offscreen platform never does. The screen is read
// back through an X connection of the test's own, from any thread, while the program works.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QImage>
#include <QRect>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>

#include "test_files.h"

namespace quantora::testing {

// The colour of the bare screen: no window of the program is ever this colour, so a window
// whose body shows it has not painted itself.
inline constexpr QRgb kBareScreen = 0xFFFF00FF;

class Desktop {
  public:
    ~Desktop() {
        if (screen_ != nullptr) xcb_disconnect(screen_);
        for (pid_t process : {manager_, server_}) {
            if (process <= 0) continue;
            ::kill(process, SIGTERM);
            ::waitpid(process, nullptr, 0);
        }
    }

    // Starts the X server and the window manager and makes them the program's display.
    // Nothing when they run; otherwise why not.
    std::optional<std::string> Start(int width, int height) {
        int ready[2];
        if (::pipe(ready) != 0) return "no pipe for Xvfb";
        server_ = ::fork();
        if (server_ == 0) {
            ::close(ready[0]);
            std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
            std::string fd = std::to_string(ready[1]);
            ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(),
                     "-nolisten", "tcp", nullptr);
            ::_exit(127);
        }
        ::close(ready[1]);
        std::string number;
        char c;
        while (::read(ready[0], &c, 1) == 1 && c != '\n') number += c;
        ::close(ready[0]);
        if (number.empty()) return "Xvfb did not start (is the xvfb package installed?)";
        display_ = ":" + number;
        ::setenv("DISPLAY", display_.c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);

        screen_ = xcb_connect(display_.c_str(), nullptr);
        if (xcb_connection_has_error(screen_)) return "cannot reach Xvfb on " + display_;
        root_ = xcb_setup_roots_iterator(xcb_get_setup(screen_)).data->root;
        std::uint32_t bare = kBareScreen & 0xFFFFFF;
        xcb_change_window_attributes(screen_, root_, XCB_CW_BACK_PIXEL, &bare);
        xcb_clear_area(screen_, 0, root_, 0, 0, 0, 0);
        xcb_flush(screen_);

        manager_ = ::fork();
        if (manager_ == 0) {
            // Its settings and caches in a folder of the test's, never in the user's home.
            ::setenv("HOME", home_.path().c_str(), 1);
            ::unsetenv("XDG_CONFIG_HOME");
            ::unsetenv("XDG_CACHE_HOME");
            ::execlp("openbox", "openbox", nullptr);
            ::_exit(127);
        }
        for (int wait = 0; wait < 100; ++wait) {
            if (ManagerRuns()) return std::nullopt;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return "openbox did not take the display (is the openbox package installed?)";
    }

    // What the screen shows inside the window with that X id, its frame left out; a null
    // image when it is not on the screen.
    QImage Grab(std::uint32_t window) const {
        auto geometry = xcb_get_geometry_reply(screen_, xcb_get_geometry(screen_, window), nullptr);
        if (geometry == nullptr) return {};
        QImage picture = GrabArea(window, QRect(0, 0, geometry->width, geometry->height));
        std::free(geometry);
        return picture;
    }

    // Where the window with that X id is on the screen, its frame left out.
    QRect Placed(std::uint32_t window) const {
        auto geometry = xcb_get_geometry_reply(screen_, xcb_get_geometry(screen_, window), nullptr);
        auto place = xcb_translate_coordinates_reply(
            screen_, xcb_translate_coordinates(screen_, window, root_, 0, 0), nullptr);
        QRect placed;
        if (geometry != nullptr && place != nullptr)
            placed = QRect(place->dst_x, place->dst_y, geometry->width, geometry->height);
        std::free(geometry);
        std::free(place);
        return placed;
    }

    // Where the window with that X id is on the screen with the frame the window manager gave
    // it, its title bar included.
    QRect Framed(std::uint32_t window) const {
        xcb_window_t top = window;
        for (;;) {
            auto tree = xcb_query_tree_reply(screen_, xcb_query_tree(screen_, top), nullptr);
            if (tree == nullptr) return {};
            xcb_window_t parent = tree->parent;
            std::free(tree);
            if (parent == root_ || parent == 0) break;
            top = parent;
        }
        return Placed(top);
    }

    // What the screen shows in a rectangle of the screen.
    QImage GrabScreen(const QRect& area) const { return GrabArea(root_, area); }

  private:
    QImage GrabArea(std::uint32_t drawable, const QRect& area) const {
        auto image = xcb_get_image_reply(
            screen_,
            xcb_get_image(screen_, XCB_IMAGE_FORMAT_Z_PIXMAP, drawable,
                          static_cast<std::int16_t>(area.x()), static_cast<std::int16_t>(area.y()),
                          static_cast<std::uint16_t>(area.width()),
                          static_cast<std::uint16_t>(area.height()), ~0u),
            nullptr);
        if (image == nullptr) return {};
        // A screen of depth 24 keeps four bytes a pixel, as Qt's RGB32 does.
        QImage picture(xcb_get_image_data(image), area.width(), area.height(), area.width() * 4,
                       QImage::Format_RGB32);
        QImage kept = picture.copy();
        std::free(image);
        return kept;
    }

    // A window manager says it runs through a property of the screen's root window.
    bool ManagerRuns() const {
        const char name[] = "_NET_SUPPORTING_WM_CHECK";
        auto atom = xcb_intern_atom_reply(
            screen_, xcb_intern_atom(screen_, 0, sizeof(name) - 1, name), nullptr);
        if (atom == nullptr) return false;
        auto property = xcb_get_property_reply(
            screen_, xcb_get_property(screen_, 0, root_, atom->atom, XCB_ATOM_WINDOW, 0, 1),
            nullptr);
        std::free(atom);
        bool runs = property != nullptr && xcb_get_property_value_length(property) > 0;
        std::free(property);
        return runs;
    }

    TempFolder home_;
    pid_t server_ = -1, manager_ = -1;
    std::string display_;
    xcb_connection_t* screen_ = nullptr;
    xcb_window_t root_ = 0;
};

// The share of an image's pixels that show the bare screen.
inline double BareShare(const QImage& picture) {
    if (picture.isNull()) return 1.0;
    long bare = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if ((picture.pixel(x, y) & 0xFFFFFF) == (kBareScreen & 0xFFFFFF)) ++bare;
    return static_cast<double>(bare) / (static_cast<double>(picture.width()) * picture.height());
}

// How many of an image's pixels are dark enough to be text.
inline long DarkPixels(const QImage& picture) {
    long dark = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (qGray(picture.pixel(x, y)) < 90) ++dark;
    return dark;
}

}  // namespace quantora::testing
