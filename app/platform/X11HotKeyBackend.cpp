#include "app/platform/X11HotKeyBackend.h"

#include "app/platform/VirtualKeyCodes.h"
#include "app/platform/X11Connection.h"

#include <QGuiApplication>
#include <QSocketNotifier>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb_keysyms.h>

#include <cstring>
#include <initializer_list>

namespace lumivex {

namespace {

// Keysyms (X11/keysymdef.h) of the keys whose modifier bits depend on the keyboard mapping.
constexpr xcb_keysym_t altLeft = 0xffe9, altRight = 0xffea, metaLeft = 0xffe7;
constexpr xcb_keysym_t superLeft = 0xffeb, superRight = 0xffec;
constexpr xcb_keysym_t numLockKey = 0xff7f;

// XKB events carry their kind in the byte after the event code; these two mean a new keyboard mapping.
constexpr quint8 xkbNewKeyboardNotify = 0;
constexpr quint8 xkbMapNotify = 1;

// The eight core modifier bits; the pointer buttons and the XKB group sit above them in an event's state.
constexpr quint16 coreModifierBits = 0xff;

// The Mod1..Mod5 bit that one of the keysyms' keys sets, or the fallback when none is mapped.
quint16 modifierBitOf(xcb_key_symbols_t* symbols, const xcb_get_modifier_mapping_reply_t& mapping,
                      std::initializer_list<xcb_keysym_t> keysyms, quint16 fallback)
{
    const xcb_keycode_t* modifierKeys = xcb_get_modifier_mapping_keycodes(&mapping);
    const int perModifier = mapping.keycodes_per_modifier;
    for (const xcb_keysym_t keysym : keysyms) {
        const XcbReply<xcb_keycode_t> keycodes = xcbReply(xcb_key_symbols_get_keycode(symbols, keysym));
        if (!keycodes)
            continue;
        for (int modifier = 3; modifier < 8; ++modifier) {
            for (int slot = 0; slot < perModifier; ++slot) {
                const xcb_keycode_t key = modifierKeys[modifier * perModifier + slot];
                for (const xcb_keycode_t* code = keycodes.get(); key != 0 && *code != XCB_NO_SYMBOL; ++code) {
                    if (*code == key)
                        return quint16(1u << modifier);
                }
            }
        }
    }
    return fallback;
}

} // namespace

std::unique_ptr<X11HotKeyBackend> X11HotKeyBackend::create()
{
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
            return std::make_unique<X11HotKeyBackend>(x11->connection());
    }
    return std::make_unique<X11HotKeyBackend>(X11Connection::open({}));
}

X11HotKeyBackend::X11HotKeyBackend(xcb_connection_t* qtConnection)
    : m_connection(qtConnection)
{
    start();
    if (m_connection)
        QCoreApplication::instance()->installNativeEventFilter(this);
}

X11HotKeyBackend::X11HotKeyBackend(std::shared_ptr<X11Connection> ownConnection)
    : m_connection(ownConnection ? ownConnection->get() : nullptr), m_ownConnection(std::move(ownConnection))
{
    start();
    if (!m_connection)
        return;
    m_notifier = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(m_connection), QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &X11HotKeyBackend::readOwnConnection);
}

X11HotKeyBackend::~X11HotKeyBackend()
{
    // Qt closes its connection with the application object; its grabs end with it.
    if (!m_ownConnection && !QCoreApplication::instance())
        return;
    ungrabAll();
    if (m_connection)
        xcb_flush(m_connection);
}

void X11HotKeyBackend::start()
{
    if (!m_connection)
        return;
    for (xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(m_connection)); it.rem > 0;
         xcb_screen_next(&it))
        m_roots.append(it.data->root);
    readModifierBits();
    static constexpr char xkbName[] = "XKEYBOARD";
    const auto xkb = xcbReply(xcb_query_extension_reply(
        m_connection, xcb_query_extension(m_connection, std::strlen(xkbName), xkbName), nullptr));
    if (xkb && xkb->present)
        m_xkbFirstEvent = xkb->first_event;
}

void X11HotKeyBackend::readModifierBits()
{
    const auto mapping = xcbReply(
        xcb_get_modifier_mapping_reply(m_connection, xcb_get_modifier_mapping(m_connection), nullptr));
    if (!mapping)
        return;
    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(m_connection);
    if (!symbols)
        return;
    m_bits.alt = modifierBitOf(symbols, *mapping, {altLeft, altRight, metaLeft}, XCB_MOD_MASK_1);
    m_bits.super = modifierBitOf(symbols, *mapping, {superLeft, superRight}, XCB_MOD_MASK_4);
    m_bits.numLock = modifierBitOf(symbols, *mapping, {numLockKey}, XCB_MOD_MASK_2);
    xcb_key_symbols_free(symbols);
}

std::optional<X11HotKeyBackend::Grab> X11HotKeyBackend::grabFor(const HotKeyRegistration& registration) const
{
    const GlobalShortcut& shortcut = registration.shortcut;
    // Key codes come from stored data and may name no key at all.
    if (shortcut.keyCode() < 0 || shortcut.keyCode() > 0xffff)
        return std::nullopt;
    const std::optional<quint32> keycode = VirtualKeyCodes::toNativeScanCode(std::uint16_t(shortcut.keyCode()));
    const xcb_setup_t* setup = xcb_get_setup(m_connection);
    if (!keycode || *keycode < setup->min_keycode || *keycode > setup->max_keycode)
        return std::nullopt;
    quint16 modifiers = 0;
    if (shortcut.hasModifier(GlobalShortcut::shiftFlag))
        modifiers |= XCB_MOD_MASK_SHIFT;
    if (shortcut.hasModifier(GlobalShortcut::commandFlag))
        modifiers |= XCB_MOD_MASK_CONTROL;
    if (shortcut.hasModifier(GlobalShortcut::optionFlag))
        modifiers |= m_bits.alt;
    if (shortcut.hasModifier(GlobalShortcut::controlFlag))
        modifiers |= m_bits.super;
    // Stored flags with only foreign bits would grab the bare key away from every application.
    if (modifiers == 0)
        return std::nullopt;
    return Grab{registration, xcb_keycode_t(*keycode), modifiers};
}

QList<quint16> X11HotKeyBackend::lockVariants() const
{
    return {0, XCB_MOD_MASK_LOCK, m_bits.numLock, quint16(XCB_MOD_MASK_LOCK | m_bits.numLock)};
}

bool X11HotKeyBackend::grab(const Grab& grab)
{
    QList<xcb_void_cookie_t> requests;
    for (const xcb_window_t root : m_roots) {
        for (const quint16 lock : lockVariants())
            requests.append(xcb_grab_key_checked(m_connection, 0, root, grab.modifiers | lock, grab.keycode,
                                                 XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    }
    bool granted = true;
    for (const xcb_void_cookie_t request : requests) {
        if (xcb_generic_error_t* error = xcb_request_check(m_connection, request)) {
            granted = false; // BadAccess: another client holds this combination
            std::free(error);
        }
    }
    if (!granted)
        ungrab(grab); // all four or none, so Num Lock never decides whether a shortcut works
    return granted;
}

void X11HotKeyBackend::ungrab(const Grab& grab)
{
    // Ungrabbing touches only this client's grabs, so releasing a variant that was refused is harmless.
    for (const xcb_window_t root : m_roots) {
        for (const quint16 lock : lockVariants())
            xcb_ungrab_key(m_connection, grab.keycode, root, grab.modifiers | lock);
    }
}

void X11HotKeyBackend::ungrabAll()
{
    for (const Grab& held : std::as_const(m_grabs))
        ungrab(held);
    m_grabs.clear();
}

QSet<quint32> X11HotKeyBackend::registerAll(const QList<HotKeyRegistration>& registrations)
{
    QSet<quint32> refused;
    if (!m_connection) {
        for (const HotKeyRegistration& registration : registrations)
            refused.insert(registration.id);
        return refused;
    }
    ungrabAll();
    for (const HotKeyRegistration& registration : registrations) {
        const std::optional<Grab> wanted = grabFor(registration);
        if (wanted && grab(*wanted))
            m_grabs.append(*wanted);
        else
            refused.insert(registration.id);
    }
    xcb_flush(m_connection);
    // Waiting for the grabs' answers may have queued events that the socket will not announce again.
    if (m_notifier)
        QMetaObject::invokeMethod(this, &X11HotKeyBackend::readOwnConnection, Qt::QueuedConnection);
    return refused;
}

bool X11HotKeyBackend::isKeyboardMappingChange(const xcb_generic_event_t* event) const
{
    const quint8 type = event->response_type & 0x7f;
    if (type == XCB_MAPPING_NOTIFY)
        return reinterpret_cast<const xcb_mapping_notify_event_t*>(event)->request != XCB_MAPPING_POINTER;
    if (m_xkbFirstEvent != 0 && type == m_xkbFirstEvent) {
        const quint8 xkbType = reinterpret_cast<const quint8*>(event)[1];
        return xkbType == xkbNewKeyboardNotify || xkbType == xkbMapNotify;
    }
    return false;
}

void X11HotKeyBackend::scheduleRegrab()
{
    // A layout switch sends a burst of notifications; one regrab after them is enough.
    if (m_regrabScheduled)
        return;
    m_regrabScheduled = true;
    QMetaObject::invokeMethod(this, &X11HotKeyBackend::regrab, Qt::QueuedConnection);
}

void X11HotKeyBackend::regrab()
{
    m_regrabScheduled = false;
    const QList<Grab> held = m_grabs;
    ungrabAll(); // with the modifier bits the grabs were made with
    readModifierBits();
    QSet<quint32> lost;
    for (const Grab& old : held) {
        const std::optional<Grab> wanted = grabFor(old.registration);
        if (wanted && grab(*wanted))
            m_grabs.append(*wanted);
        else
            lost.insert(old.registration.id);
    }
    xcb_flush(m_connection);
    if (!lost.isEmpty())
        Q_EMIT refused(lost);
}

bool X11HotKeyBackend::handle(const xcb_generic_event_t* event)
{
    if ((event->response_type & 0x7f) == XCB_KEY_PRESS) {
        const auto* press = reinterpret_cast<const xcb_key_press_event_t*>(event);
        if (!m_roots.contains(press->event))
            return false;
        const quint16 modifiers = press->state & coreModifierBits & ~quint16(XCB_MOD_MASK_LOCK | m_bits.numLock);
        for (const Grab& held : std::as_const(m_grabs)) {
            if (held.keycode == press->detail && held.modifiers == modifiers) {
                Q_EMIT activated(held.registration.id);
                return true;
            }
        }
        return false;
    }
    if (isKeyboardMappingChange(event))
        scheduleRegrab();
    return false;
}

bool X11HotKeyBackend::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t" || !message)
        return false;
    return handle(static_cast<const xcb_generic_event_t*>(message));
}

void X11HotKeyBackend::readOwnConnection()
{
    while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
        handle(event);
        std::free(event);
    }
    // A lost server leaves the socket readable forever.
    if (xcb_connection_has_error(m_connection))
        m_notifier->setEnabled(false);
}

} // namespace lumivex
