#pragma once

#include <QSocketNotifier>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "platform/Accessibility.hpp"
#include "platform/DesktopReveal.hpp"
#include "platform/Log.hpp"
#include "platform/RunningApplications.hpp"
#include "platform/WindowList.hpp"

struct xcb_connection_t;

namespace quorvane::platform::x11 {

// Other applications' windows in an X11 session, through the window
// manager's EWMH hints: the stacking list (front to back), frames with
// their decorations, processes by the X server's own account of each
// client (X-Resource), moves and resizes, minimizing, activation. Elements
// are windows, their minimize buttons and applications. Docks, panels,
// notifications and the desktop's window are the desktop's: not among an
// application's windows, never hidden. Requests are sent together and their
// replies read after.
class XcbDesktop final : public Accessibility,
                         public WindowList,
                         public RunningApplications,
                         public DesktopReveal {
  public:
    // Nothing without an X display or an EWMH window manager; one that is
    // not there yet is waited for up to `waitForManager` (a program started
    // with the session may come before its window manager).
    static std::unique_ptr<XcbDesktop> connect(
        Log& log, std::function<Rect()> primaryRootFrame,
        std::chrono::milliseconds waitForManager = std::chrono::milliseconds(0));
    ~XcbDesktop() override;

    // DesktopReveal: through _NET_SHOWING_DESKTOP, when the window manager
    // supports it.
    bool showDesktop() override;
    bool isShowingDesktop() override;
    bool showWindows() override;

    // Accessibility
    Element systemWide() override;
    Element application(int pid) override;
    std::optional<Element> elementAt(Point point) override;
    std::optional<AttributeValue> attribute(Element element, std::string_view name) override;
    std::vector<Element> attributeValues(Element element, std::string_view name) override;
    bool setAttribute(Element element, std::string_view name, const AttributeValue& value) override;
    std::optional<bool> isAttributeSettable(Element element, std::string_view name) override;
    bool performAction(Element element, std::string_view action) override;
    std::optional<int> pid(Element element) override;

    // WindowList
    std::vector<CGWindow> list(unsigned options) override;
    std::optional<Image> image(int number) override;
    bool orderBelow(std::uint64_t ownWindow, int number) override;

    // RunningApplications
    std::vector<RunningApplication> list() override;
    std::optional<RunningApplication> frontmost() override;
    bool hide(int pid) override;
    bool activate(int pid) override;
    bool forceTerminate(int pid) override;
    bool reopen(const RunningApplication& application) override;
    int ownPid() const override;
    RunningApplications::Token observeActivation(Observer observer) override;
    void removeObserver(RunningApplications::Token token) override;

    // The client window with the focus among a pid's, for keys sent to it.
    std::optional<std::uint32_t> focusedWindowOf(int pid);

  private:
    bool supportsShowingDesktop();
    struct Client {
        std::uint32_t window = 0;
        int pid = 0;
        std::string title{};
        std::string className{};
        Rect frame{};  // accessibility space, decorations included
        Rect content{};
        int layer = 0;
        bool hidden = false;
        bool desktop = false;
        // A dock or panel, the desktop, a notification: the desktop's, not
        // a window of the application's own.
        bool partOfDesktop = false;
        bool normal = true;  // a normal window (no other type given)
        bool skipTaskbar = false;
    };
    struct Impl;

    XcbDesktop(Log& log, std::function<Rect()> primaryRootFrame, std::unique_ptr<Impl> impl);
    // The window manager's clients, front to back.
    std::vector<Client> clients(bool includeHidden);
    // What the server says of these windows, in their order.
    std::vector<Client> read(const std::vector<std::uint32_t>& windows, bool includeHidden);
    std::optional<Client> client(std::uint32_t window);
    std::optional<std::uint32_t> activeWindow();
    void readEvents();
    void sendClientMessage(std::uint32_t window, std::uint32_t type,
                           std::array<std::uint32_t, 5> data);

    Log& log_;
    std::function<Rect()> primaryRootFrame_;
    std::unique_ptr<Impl> impl_;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::map<RunningApplications::Token, Observer> observers_;
    RunningApplications::Token nextObserver_ = 1;
    std::optional<int> lastActivePid_;
};

}  // namespace quorvane::platform::x11
