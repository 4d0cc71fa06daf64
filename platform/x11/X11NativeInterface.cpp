// Vidurara: a ring around the mouse pointer for presentations.
#include "X11NativeInterface.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QWindow>

#include <xcb/shape.h>
#include <xcb/xcb.h>
#include <xcb/xfixes.h>
#ifdef VIDURARA_HAVE_XINPUT
#include <xcb/xinput.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace platform {

namespace {

template <typename Reply> struct Freed {
  Reply *reply;
  ~Freed() { std::free(reply); }
  Reply *operator->() const { return reply; }
  explicit operator bool() const { return reply != nullptr; }
};

std::vector<xcb_rectangle_t> rectanglesOf(const QRegion &region) {
  std::vector<xcb_rectangle_t> rects;
  rects.reserve(size_t(region.rectCount()));
  for (const QRect &r : region)
    rects.push_back({qint16(r.x()), qint16(r.y()), quint16(r.width()), quint16(r.height())});
  return rects;
}

} // namespace

std::unique_ptr<X11NativeInterface> X11NativeInterface::create() {
  auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  if (!x11 || !x11->connection())
    return nullptr;
  return std::unique_ptr<X11NativeInterface>(new X11NativeInterface(x11->connection()));
}

X11NativeInterface::X11NativeInterface(xcb_connection_t *connection) : connection_(connection) {
  xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
  root_ = screen->root;

  const std::string cmName = "_NET_WM_CM_S0";
  auto atomCookie = xcb_intern_atom(connection_, 0, uint16_t(cmName.size()), cmName.c_str());
  Freed<xcb_intern_atom_reply_t> atom{xcb_intern_atom_reply(connection_, atomCookie, nullptr)};
  if (atom)
    cmAtom_ = atom->atom;

  const xcb_query_extension_reply_t *shape = xcb_get_extension_data(connection_, &xcb_shape_id);
  shapeAvailable_ = shape && shape->present;

  // The tick's pointer query goes over a connection of its own: on Qt's connection
  // every reply also wakes Qt's event-reader thread, and those wake-ups cost more
  // than the query itself.
  int screenNumber = 0;
  queryConnection_ = xcb_connect(nullptr, &screenNumber);
  if (xcb_connection_has_error(queryConnection_)) {
    xcb_disconnect(queryConnection_);
    queryConnection_ = nullptr;
  } else {
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(queryConnection_));
    for (int i = 0; i < screenNumber && it.rem > 1; ++i)
      xcb_screen_next(&it);
    queryRoot_ = it.data->root;
  }

  watchCompositorSelection();
  watchButtonPresses();
  if (xfixesFirstEvent_ >= 0 || xinputOpcode_ >= 0) {
    QCoreApplication::instance()->installNativeEventFilter(this);
    filterInstalled_ = true;
  }
}

X11NativeInterface::~X11NativeInterface() {
  if (queryConnection_)
    xcb_disconnect(queryConnection_);
  if (filterInstalled_ && QCoreApplication::instance())
    QCoreApplication::instance()->removeNativeEventFilter(this);
}

void X11NativeInterface::watchCompositorSelection() {
  const xcb_query_extension_reply_t *ext = xcb_get_extension_data(connection_, &xcb_xfixes_id);
  if (!ext || !ext->present || !cmAtom_)
    return;
  Freed<xcb_xfixes_query_version_reply_t> version{xcb_xfixes_query_version_reply(
      connection_, xcb_xfixes_query_version(connection_, 5, 0), nullptr)};
  if (!version)
    return;
  xcb_xfixes_select_selection_input(connection_, root_, cmAtom_,
                                    XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                                        XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                                        XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
  xcb_flush(connection_);
  xfixesFirstEvent_ = ext->first_event;
}

// A press and release quicker than the poll period (a quick click, a touchpad tap)
// falls between two pointer queries. Raw button events reach every client that selects
// them on the root window, whichever window has the pointer or a grab (XInput 2.1).
void X11NativeInterface::watchButtonPresses() {
#ifdef VIDURARA_HAVE_XINPUT
  const xcb_query_extension_reply_t *ext = xcb_get_extension_data(connection_, &xcb_input_id);
  if (!ext || !ext->present)
    return;
  // Qt has negotiated its own version on this connection; from 2.2 on the server keeps
  // the higher of the two, so asking for 2.2 takes nothing from Qt.
  xcb_generic_error_t *error = nullptr;
  Freed<xcb_input_xi_query_version_reply_t> version{xcb_input_xi_query_version_reply(
      connection_, xcb_input_xi_query_version(connection_, 2, 2), &error)};
  std::free(error);
  if (!version || version->major_version != 2 || version->minor_version < 1)
    return;
  struct {
    xcb_input_event_mask_t head;
    uint32_t bits;
  } mask{{XCB_INPUT_DEVICE_ALL_MASTER, 1}, XCB_INPUT_XI_EVENT_MASK_RAW_BUTTON_PRESS};
  error = xcb_request_check(connection_,
                            xcb_input_xi_select_events_checked(connection_, root_, 1, &mask.head));
  if (error) {
    std::free(error);
    return;
  }
  xinputOpcode_ = ext->major_opcode;
#endif
}

bool X11NativeInterface::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) {
  if (eventType != "xcb_generic_event_t")
    return false;
  auto *event = static_cast<xcb_generic_event_t *>(message);
  const int type = event->response_type & ~0x80;
#ifdef VIDURARA_HAVE_XINPUT
  if (type == XCB_GE_GENERIC && xinputOpcode_ >= 0) {
    auto *ge = reinterpret_cast<xcb_ge_generic_event_t *>(event);
    if (ge->extension != xinputOpcode_ || ge->event_type != XCB_INPUT_RAW_BUTTON_PRESS)
      return false;
    // Buttons 4 to 7 are the steps of the scroll wheels, not clicks.
    const uint32_t button = reinterpret_cast<xcb_input_raw_button_press_event_t *>(event)->detail;
    if (button >= 1 && button <= 3)
      pressedSinceQuery_ = true;
    return false;
  }
#endif
  if (xfixesFirstEvent_ < 0 || type != xfixesFirstEvent_ + XCB_XFIXES_SELECTION_NOTIFY)
    return false;
  auto *notify = reinterpret_cast<xcb_xfixes_selection_notify_event_t *>(event);
  if (notify->selection != cmAtom_)
    return false;
  const bool running = notify->owner != XCB_NONE;
  const bool changed = !compositorKnown_ || running != compositor_;
  compositorKnown_ = true;
  compositor_ = running;
  if (changed)
    emit compositorChanged(running);
  return false;
}

InputState X11NativeInterface::queryInput() {
  InputState s;
  xcb_connection_t *c = queryConnection_ ? queryConnection_ : connection_;
  const xcb_window_t root = queryConnection_ ? queryRoot_ : root_;
  Freed<xcb_query_pointer_reply_t> reply{
      xcb_query_pointer_reply(c, xcb_query_pointer(c, root), nullptr)};
  if (!reply)
    return s;
  s.pointer = fromDevicePixels(QPoint(reply->root_x, reply->root_y));
  const uint16_t mask = reply->mask;
  s.control = mask & XCB_MOD_MASK_CONTROL;
  s.shift = mask & XCB_MOD_MASK_SHIFT;
  s.alt = mask & XCB_MOD_MASK_1;
  // Held now, or pressed and already released since the previous query.
  s.mouseButton =
      (mask & (XCB_BUTTON_MASK_1 | XCB_BUTTON_MASK_2 | XCB_BUTTON_MASK_3)) || pressedSinceQuery_;
  pressedSinceQuery_ = false;
  return s;
}

bool X11NativeInterface::compositorRunning() {
  // While the selection is watched the last notification is the answer; before the
  // first one, and without XFixes, ask the server.
  if (compositorKnown_ && xfixesFirstEvent_ >= 0)
    return compositor_;
  if (!cmAtom_)
    return false;
  Freed<xcb_get_selection_owner_reply_t> owner{xcb_get_selection_owner_reply(
      connection_, xcb_get_selection_owner(connection_, cmAtom_), nullptr)};
  compositor_ = owner && owner->owner != XCB_NONE;
  compositorKnown_ = xfixesFirstEvent_ >= 0;
  return compositor_;
}

void X11NativeInterface::setInputRegion(QWindow *window, const QRegion &region) {
  if (!window || !shapeAvailable_)
    return;
  const auto rects = rectanglesOf(region);
  xcb_shape_rectangles(connection_, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT,
                       XCB_CLIP_ORDERING_UNSORTED, xcb_window_t(window->winId()), 0, 0,
                       uint32_t(rects.size()), rects.data());
}

void X11NativeInterface::setVisibleRegion(QWindow *window, const QRegion &region, bool whole) {
  if (!window || !shapeAvailable_)
    return;
  const auto id = xcb_window_t(window->winId());
  if (whole) {
    xcb_shape_mask(connection_, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING, id, 0, 0, XCB_NONE);
    return;
  }
  const auto rects = rectanglesOf(region);
  xcb_shape_rectangles(connection_, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING,
                       XCB_CLIP_ORDERING_UNSORTED, id, 0, 0, uint32_t(rects.size()), rects.data());
}

void X11NativeInterface::raise(QWindow *window) {
  if (!window)
    return;
  const uint32_t above = XCB_STACK_MODE_ABOVE;
  xcb_configure_window(connection_, xcb_window_t(window->winId()), XCB_CONFIG_WINDOW_STACK_MODE,
                       &above);
}

void X11NativeInterface::setGeometry(QWindow *window, const QRect &g, bool raise) {
  if (!window)
    return;
  // Values in the order of their mask bits.
  const uint32_t values[] = {uint32_t(int32_t(g.x())), uint32_t(int32_t(g.y())),
                             uint32_t(std::max(1, g.width())), uint32_t(std::max(1, g.height())),
                             XCB_STACK_MODE_ABOVE};
  uint16_t mask = XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH |
                  XCB_CONFIG_WINDOW_HEIGHT;
  if (raise)
    mask |= XCB_CONFIG_WINDOW_STACK_MODE;
  xcb_configure_window(connection_, xcb_window_t(window->winId()), mask, values);
}

int X11NativeInterface::depthOf(QWindow *window) {
  // Asked once per window: 32 with an alpha channel, 24 without.
  QVariant depth = window->property("_vidurara_x11_depth");
  if (!depth.isValid()) {
    Freed<xcb_get_geometry_reply_t> geometry{xcb_get_geometry_reply(
        connection_, xcb_get_geometry(connection_, xcb_window_t(window->winId())), nullptr)};
    if (!geometry)
      return 0;
    depth = int(geometry->depth);
    window->setProperty("_vidurara_x11_depth", depth);
  }
  return depth.toInt();
}

bool X11NativeInterface::translucent(QWindow *window) {
  return window && compositorRunning() && depthOf(window) == 32;
}

bool X11NativeInterface::putImage(QWindow *window, const QImage &image) {
  if (!window || image.format() != QImage::Format_ARGB32_Premultiplied || image.isNull())
    return false;
  const xcb_setup_t *setup = xcb_get_setup(connection_);
  if (setup->image_byte_order != (QSysInfo::ByteOrder == QSysInfo::LittleEndian
                                      ? XCB_IMAGE_ORDER_LSB_FIRST
                                      : XCB_IMAGE_ORDER_MSB_FIRST))
    return false;
  const auto id = xcb_window_t(window->winId());
  const int depth = depthOf(window);
  if (depth != 32 && depth != 24)
    return false;
  const xcb_gcontext_t gc = xcb_generate_id(connection_);
  xcb_create_gc(connection_, gc, id, 0, nullptr);
  // Strips well below the smallest maximum request size.
  const int stride = int(image.bytesPerLine());
  const int rowsPerRequest = std::max(1, 200000 / stride);
  for (int y = 0; y < image.height(); y += rowsPerRequest) {
    const int rows = std::min(rowsPerRequest, image.height() - y);
    xcb_put_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, id, gc, uint16_t(image.width()),
                  uint16_t(rows), 0, int16_t(y), 0, uint8_t(depth), uint32_t(stride * rows),
                  image.constScanLine(y));
  }
  xcb_free_gc(connection_, gc);
  return true;
}

void X11NativeInterface::sync() {
  std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
}

} // namespace platform
