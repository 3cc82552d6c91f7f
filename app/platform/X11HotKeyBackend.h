#pragma once

#include "app/platform/HotKeyBackend.h"

#include <QAbstractNativeEventFilter>

#include <xcb/xcb.h>

#include <memory>
#include <optional>

class QSocketNotifier;

namespace lumivex {

class X11Connection;

// Global shortcuts as passive key grabs on every root window. Each combination is grabbed four times, plain and
// with Caps Lock and Num Lock held, so the lock keys never swallow a shortcut. Grabs are checked requests: a
// combination another client holds (BadAccess) is a refused registration, never an X error that ends the
// process. The X keycode comes from the stored key code (a key position), so a layout switch leaves the key
// where it was; when the keyboard mapping changes, the modifier bits are looked up again and everything is
// grabbed anew.
class X11HotKeyBackend : public HotKeyBackend, public QAbstractNativeEventFilter {
    Q_OBJECT

public:
    // When the application runs on xcb, grabs through Qt's own connection and takes key presses from Qt's native
    // event filter. Otherwise (tests drive an X server from an offscreen process) through a connection of its own
    // to $DISPLAY, read here. Without any X server every registration is refused.
    static std::unique_ptr<X11HotKeyBackend> create();
    // Grabs through Qt's connection; the caller makes sure the application runs on xcb.
    explicit X11HotKeyBackend(xcb_connection_t* qtConnection);
    // Grabs through this connection (nullptr: refuse everything).
    explicit X11HotKeyBackend(std::shared_ptr<X11Connection> ownConnection);
    ~X11HotKeyBackend() override;

    QSet<quint32> registerAll(const QList<HotKeyRegistration>& registrations) override;
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    // One combination as the server sees it: a keycode and modifier bits without the lock keys.
    struct Grab {
        HotKeyRegistration registration;
        xcb_keycode_t keycode = 0;
        quint16 modifiers = 0;
    };
    struct ModifierBits {
        quint16 alt = XCB_MOD_MASK_1;
        quint16 super = XCB_MOD_MASK_4;
        quint16 numLock = XCB_MOD_MASK_2;
    };

    void start();
    std::optional<Grab> grabFor(const HotKeyRegistration& registration) const;
    QList<quint16> lockVariants() const;
    bool grab(const Grab& grab);
    void ungrab(const Grab& grab);
    void ungrabAll();
    void readModifierBits();
    bool isKeyboardMappingChange(const xcb_generic_event_t* event) const;
    void scheduleRegrab();
    void regrab();
    // Whether the event was one of our combinations (it is then consumed).
    bool handle(const xcb_generic_event_t* event);
    void readOwnConnection();

    xcb_connection_t* m_connection = nullptr;
    std::shared_ptr<X11Connection> m_ownConnection;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QList<xcb_window_t> m_roots;
    ModifierBits m_bits;
    quint8 m_xkbFirstEvent = 0; // 0: no XKB
    QList<Grab> m_grabs;
    bool m_regrabScheduled = false;
};

} // namespace lumivex
