#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Accessibility.hpp"
#include "platform/EventMonitors.hpp"
#include "platform/Geometry.hpp"
#include "platform/Journal.hpp"
#include "platform/KeyCapture.hpp"
#include "platform/Pasteboard.hpp"
#include "platform/RunningApplications.hpp"
#include "platform/StatusBar.hpp"
#include "simmac/SimMenuBar.hpp"
#include "platform/WindowList.hpp"
#include "simmac/SimDesktopCommand.hpp"
#include "simmac/SimDisplays.hpp"

namespace quorvane::platform::sim {

// The simulated Mac's desktop: screens, running applications with windows
// and menus, the pointer and keyboard, and the window server's list. Its
// applications act as a Mac's do: a left drag on a title bar moves the
// window, a click activates and raises, a Dock item activates or unhides,
// typed keys edit the frontmost application's text. It starts with one
// 1440 × 900 screen, Finder and TextEdit (with a window "Untitled"), and
// this program. Main thread only; taps are called on it too.
class SimWindowServer final : public Screens,
                              public Accessibility,
                              public WindowList,
                              public RunningApplications,
                              public EventMonitors,
                              public EventTaps,
                              public SyntheticEvents,
                              public KeyCapture,
                              public StatusBar {
  public:
    static constexpr int finderPid = 100;
    static constexpr int textEditPid = 200;
    static constexpr int dockPid = 50;
    static constexpr double menuBarHeight = SimMenuBar::height;
    static constexpr double dockHeight = 70;
    static constexpr double titleBarHeight = 28;
    static constexpr const char* cause = "SimulatedMac";
    // Bounds on what commands may add.
    static constexpr std::size_t maxApplications = 200;
    static constexpr std::size_t maxWindows = 1000;
    static constexpr std::size_t maxMenuItems = 500;

    // `shortcut` takes a combination grabbed as a global shortcut (answers
    // whether one had it); the pasteboard serves Command-V. The screens are
    // those of `displays`; without it, a built-in display of its own.
    SimWindowServer(int ownPid, Journal& journal, Pasteboard& pasteboard,
                    std::function<bool(const std::string&)> shortcut = {},
                    SimDisplays* displays = nullptr);
    SimDisplays& displays() { return *displays_; }

    // Carries out one `quorvane sim` command; answers what it shows.
    Result<std::string> perform(const SimDesktopCommand& command);
    // Presses a combination: a global shortcut takes it first, else the
    // frontmost application gets the keys. Answers whether a shortcut took it.
    bool key(const std::string& combination);
    // How long a call to a hung application waits before it is absent.
    void setMessagingTimeout(std::chrono::milliseconds timeout) { messagingTimeout_ = timeout; }
    // The text typed into an application.
    std::string text(int pid) const;
    bool isInputHeld() const { return !swallowers_.empty(); }

    // A drag as the hardware makes it, one event at a time: the button
    // pressed at a point (accessibility space), moves with it held, and
    // the release where the pointer is.
    struct DragStep {
        Point to{};
        bool endsALeg = false;  // reaches one of the command's points
    };
    static std::vector<DragStep> dragSteps(const SimDesktopCommand& command);
    static std::string describeDrag(const SimDesktopCommand& command);
    // Journals the drag and presses the button at its first point.
    void startDrag(const SimDesktopCommand& command);
    void dragLeftTo(Point to);
    void releaseLeft();

    // Screens
    std::vector<Screen> screens() const override { return displays_->screenList(); }

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
    // Which window each of our own windows was put below (0: below all);
    // the list shows them there while `shown` says they are.
    std::map<std::uint64_t, int> orderedBelow{};
    void setOwnWindowCheck(std::function<bool(std::uint64_t)> shown) {
        ownWindowShown_ = std::move(shown);
    }

    // RunningApplications
    std::vector<RunningApplication> list() override;
    std::optional<RunningApplication> frontmost() override;
    bool hide(int pid) override;
    bool activate(int pid) override;
    bool forceTerminate(int pid) override;
    bool reopen(const RunningApplication& application) override;
    int ownPid() const override { return ownPid_; }
    RunningApplications::Token observeActivation(Observer observer) override;
    void removeObserver(RunningApplications::Token token) override;

    // EventMonitors
    Result<EventMonitors::Token> addGlobal(EventMask mask, EventMonitors::Handler handler) override;
    void remove(EventMonitors::Token token) override;
    Point mouseLocation() override;
    // Whether the monitors' event source is installed (first to last monitor).
    bool isMonitoring() const { return monitors_.size() > 0; }

    // EventTaps
    Result<EventTaps::Token> install(EventMask mask, Callback callback,
                                     std::function<void()> disabled) override;
    void enable(EventTaps::Token token) override;
    void uninstall(EventTaps::Token token) override;
    Result<EventTaps::Token> swallowAll(SwallowHeard heard, SwallowEnded ended) override;
    std::size_t enabledTaps() const;

    // KeyCapture: captured keys go to the handler, after the taps, and
    // neither monitors nor applications see them.
    Status capture(std::span<const std::uint16_t> keyCodes, KeyCapture::Handler handler) override;
    void release() override;

    // StatusBar: the right end of the main display's menu bar, its items
    // laid right to left with their widths (a clock, this program's own
    // item, three more), each new one at the left end; one pushed past the
    // display's left edge is hidden. `quorvane sim menubar` lists them; a
    // click on one of ours presses it, and that click is ours: global
    // monitors do not see it.
    StatusBar::Token addItem(StatusBar::Item item) override;
    void removeItem(StatusBar::Token token) override;
    void setLength(StatusBar::Token token, double length) override;
    std::optional<Rect> buttonFrame(StatusBar::Token token) const override;
    bool lengthsMoveOtherItems() const override { return true; }

    // SyntheticEvents: text is typed one key event per character, as the
    // Mac types a string set on a keyboard event.
    Status post(const InputEvent& event) override;
    Status postToPid(int pid, const InputEvent& event) override;
    Status warpCursor(Point to) override;
    Status typeText(std::string_view text) override;
    Status canTypeText(std::string_view) override { return success(); }

  private:
    struct MenuItem {
        std::string title{};
        std::string shortcut{};  // "Meta+S"
    };
    struct Menu {
        std::string title{};
        std::vector<MenuItem> items{};
    };
    static std::vector<Menu> withSystemMenu(std::vector<Menu> menus);
    struct App {
        int pid = 0;
        std::string name{};
        std::optional<std::string> bundle{};
        bool hidden = false;
        bool hung = false;
        bool regular = true;  // has a Dock item and can be activated
        bool enhancedUserInterface = false;
        std::vector<Menu> menus{};
        std::string text{};
    };
    struct Window {
        int number = 0;
        int pid = 0;
        std::string title{};
        Rect frame{};  // accessibility space
        bool minimized = false;
        bool fixedSize = false;
        bool canMinimize = true;
        Size minimum{120, 80};
    };
    struct Tap {
        EventMask mask{};
        Callback callback{};
        std::function<void()> disabled{};
        bool enabled = true;
        bool swallowsAll = false;
    };

    void appendOwnWindowsBelow(std::vector<CGWindow>& records, int number);
    App* app(int pid);
    Window* window(int number);
    bool waitsOnHungApp(int pid);
    bool isVisible(const Window& window);
    std::optional<Element> hitTest(Point point);
    // `attribute`'s parts, by the kind of element.
    std::optional<AttributeValue> windowAttribute(Element element, std::string_view name);
    std::optional<AttributeValue> menuAttribute(Element element, std::string_view name);
    std::optional<AttributeValue> dockAttribute(Element element, std::string_view name);
    std::vector<App*> dockApps();
    Rect dockItemFrame(std::size_t index, std::size_t count) const;
    Rect menuTitleFrame(std::size_t index) const;
    void raise(int number);
    void setFrontmost(int pid);
    void journal(std::string_view kind, const std::string& detail);
    // Delivers an event from the simulated hardware: taps, then global
    // monitors, then the application it is for.
    void deliver(InputEvent event);
    void actOnPointer(const InputEvent& event);
    void actOnKey(const InputEvent& event, int pid);
    void pressKeys(const std::string& combination);
    void pressMenuItem(int pid, std::size_t menu, std::size_t item);
    Point onDesktop(Point accessibilityPoint) const;
    Point cocoa(Point accessibilityPoint) const {
        return flipped(accessibilityPoint, displays_->screenList());
    }
    // The command interpreter's parts: each answers the commands of its
    // concern, nothing for the others.
    std::optional<Result<std::string>> performOnDisplaysAndApps(const SimDesktopCommand& command);
    std::optional<Result<std::string>> performOnWindowsAndMenus(const SimDesktopCommand& command);
    std::optional<Result<std::string>> performInput(const SimDesktopCommand& command);
    std::string describeApps();
    std::string describeWindows();
    std::string describeMenus();

    int ownPid_;
    std::function<bool(std::uint64_t)> ownWindowShown_;
    Journal& journal_;
    Pasteboard& pasteboard_;
    std::function<bool(const std::string&)> shortcut_;
    std::chrono::milliseconds messagingTimeout_ = Accessibility::messagingTimeout;
    std::unique_ptr<SimDisplays> ownDisplays_;
    SimDisplays* displays_;
    SimMenuBar menuBar_;
    std::vector<App> apps_;
    std::vector<Window> windows_;  // front to back
    int nextWindow_ = 10;
    int nextPid_ = 300;
    int frontmost_;
    Point pointer_{720, 450};  // accessibility space
    std::uint64_t flags_ = 0;
    // A left drag that started on a title bar: the window and where it began.
    std::optional<std::pair<int, Point>> titleDrag_;
    Point dragStartOrigin_;
    bool dockPressOnFront_ = false;
    std::map<RunningApplications::Token, Observer> activationObservers_;
    RunningApplications::Token nextObserver_ = 1;
    MonitorRegistry monitors_;
    std::map<EventTaps::Token, Tap> taps_;
    std::vector<EventTaps::Token> swallowers_;
    SwallowHeard lockHeard_;
    bool ownPress_ = false;  // the left button went down on one of our items
    std::vector<std::uint16_t> captured_;
    KeyCapture::Handler captureHandler_;
    EventTaps::Token nextTap_ = 1;
};

}  // namespace quorvane::platform::sim
