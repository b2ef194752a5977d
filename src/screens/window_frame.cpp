#include "screens/window_frame.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QHash>
#include <QThread>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace quorvex {

namespace {

// How long the window manager gets to answer; it answers within a few milliseconds, and one
// that does not answer leaves the window without a known frame rather than holding up the start.
constexpr int kAnswerLimitMs = 250;
constexpr int kPollIntervalMs = 2;

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename Reply>
using ReplyPtr = std::unique_ptr<Reply, FreeReply>;

xcb_atom_t InternAtom(xcb_connection_t* connection, const char* name) {
    const ReplyPtr<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name),
        nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

xcb_window_t RootOf(xcb_connection_t* connection, xcb_window_t window) {
    const ReplyPtr<xcb_get_geometry_reply_t> reply(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr));
    return reply ? reply->root : xcb_window_t{XCB_WINDOW_NONE};
}

// True when the window manager lists the atom among what it supports (_NET_SUPPORTED).
bool WindowManagerSupports(xcb_connection_t* connection, xcb_window_t root, xcb_atom_t feature) {
    const xcb_atom_t supported = InternAtom(connection, "_NET_SUPPORTED");
    const ReplyPtr<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, root, supported, XCB_ATOM_ATOM, 0, UINT32_MAX / 4),
        nullptr));
    if (!reply || reply->format != 32) {
        return false;
    }
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    return std::find(atoms, atoms + count, feature) != atoms + count;
}

// _NET_FRAME_EXTENTS holds left, right, top, bottom.
bool ReadFrameExtents(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t extents,
                      QMargins& margins) {
    const ReplyPtr<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, window, extents, XCB_ATOM_CARDINAL, 0, 4),
        nullptr));
    if (!reply || reply->format != 32 || reply->value_len != 4) {
        return false;
    }
    const auto* value = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
    margins = QMargins(static_cast<int>(value[0]), static_cast<int>(value[2]),
                       static_cast<int>(value[1]), static_cast<int>(value[3]));
    return true;
}

// The frame the window manager will give the window when it maps it: a window asks with
// _NET_REQUEST_FRAME_EXTENTS and the manager answers by setting _NET_FRAME_EXTENTS on it. A
// stand-in of the same kind and size asks, so that the window itself gets no native window
// before it is shown: Qt places a window that has one by where that native window was made,
// not by where the program has put the window since.
bool AskWindowManager(const QWidget& window, QMargins& margins) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr) {
        return false;
    }
    xcb_connection_t* connection = x11->connection();
    QWidget standIn(nullptr, window.windowFlags());
    standIn.setFixedSize(window.size());
    const auto id = static_cast<xcb_window_t>(standIn.winId());
    const xcb_window_t root = RootOf(connection, id);
    const xcb_atom_t request = InternAtom(connection, "_NET_REQUEST_FRAME_EXTENTS");
    const xcb_atom_t extents = InternAtom(connection, "_NET_FRAME_EXTENTS");
    if (root == XCB_WINDOW_NONE || request == XCB_ATOM_NONE || extents == XCB_ATOM_NONE ||
        !WindowManagerSupports(connection, root, request)) {
        return false;
    }
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = id;
    message.type = request;
    xcb_send_event(connection, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
    QElapsedTimer waited;
    waited.start();
    while (!ReadFrameExtents(connection, id, extents, margins)) {
        if (waited.elapsed() >= kAnswerLimitMs) {
            return false;
        }
        QThread::msleep(kPollIntervalMs);
    }
    return true;
}

}  // namespace

QMargins WindowFrameMargins(const QWidget& window) {
    const QRect outer = window.frameGeometry();
    const QRect inner = window.geometry();
    const QMargins known(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    if (!known.isNull()) {
        return known;  // the window has been on the screen: the frame it was given
    }
    // The window manager frames windows of one kind alike for the whole run: it is asked once a
    // kind, not at every box and every showing.
    static QHash<int, QMargins> answers;
    const int kind = window.windowFlags().toInt();
    if (const auto answered = answers.constFind(kind); answered != answers.constEnd()) {
        return *answered;
    }
    QMargins asked;
    if (QGuiApplication::platformName() == QStringLiteral("xcb") &&
        AskWindowManager(window, asked)) {
        answers.insert(kind, asked);
        return asked;
    }
    return {};
}

}  // namespace quorvex
