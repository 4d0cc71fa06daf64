// Vidurara: a ring around the mouse pointer for presentations.
#pragma once

// Helpers for tests of the program's windows and menus under the test's X session:
// where the window manager put a window, which window is in front, closing a window
// like its close box, and answering modal dialogs from inside their event loop.

#include "TestSupport.h"

#include <QApplication>
#include <QPointer>
#include <QRegularExpression>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <functional>

namespace windowtest {

// A slider's handle, in the slider's coordinates: where a user grabs it.
inline QRect sliderHandleRect(const QSlider *slider) {
  QStyleOptionSlider opt;
  opt.initFrom(slider);
  opt.orientation = slider->orientation();
  opt.minimum = slider->minimum();
  opt.maximum = slider->maximum();
  opt.sliderPosition = slider->sliderPosition();
  opt.sliderValue = slider->value();
  opt.singleStep = slider->singleStep();
  opt.pageStep = slider->pageStep();
  opt.tickPosition = slider->tickPosition();
  opt.upsideDown = slider->invertedAppearance() != (slider->layoutDirection() == Qt::RightToLeft);
  opt.subControls = QStyle::SC_All;
  return slider->style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderHandle, slider);
}

// The content area's top-left corner as the X server has it ("Absolute upper-left"),
// or (-1, -1) when xwininfo fails.
inline QPoint xContentOrigin(const QWidget *w) {
  QString out;
  if (!testsupport::run(QStringLiteral("xwininfo"),
                        {QStringLiteral("-id"), QString::number(w->winId())}, &out))
    return QPoint(-1, -1);
  const QRegularExpression x(QStringLiteral("Absolute upper-left X:\\s+(-?\\d+)"));
  const QRegularExpression y(QStringLiteral("Absolute upper-left Y:\\s+(-?\\d+)"));
  const auto mx = x.match(out), my = y.match(out);
  if (!mx.hasMatch() || !my.hasMatch())
    return QPoint(-1, -1);
  return QPoint(mx.captured(1).toInt(), my.captured(1).toInt());
}

// Whether the X server shows the window now (mapped, not minimised).
inline bool xViewable(const QWidget *w) {
  QString out;
  return testsupport::run(QStringLiteral("xwininfo"),
                          {QStringLiteral("-id"), QString::number(w->winId())}, &out) &&
         out.contains(QStringLiteral("Map State: IsViewable"));
}

// The client windows as the window manager stacks them, bottom first.
inline QList<WId> clientStacking() {
  QString out;
  QList<WId> ids;
  if (!testsupport::run(QStringLiteral("xprop"),
                        {QStringLiteral("-root"), QStringLiteral("_NET_CLIENT_LIST_STACKING")},
                        &out))
    return ids;
  const QRegularExpression id(QStringLiteral("0x[0-9a-fA-F]+"));
  for (auto it = id.globalMatch(out); it.hasNext();)
    ids << WId(it.next().captured(0).toULongLong(nullptr, 16));
  return ids;
}

// True when the window manager stacks `upper` above `lower`.
inline bool stackedAbove(const QWidget *upper, const QWidget *lower) {
  const QList<WId> ids = clientStacking();
  const qsizetype u = ids.indexOf(upper->winId()), l = ids.indexOf(lower->winId());
  return u >= 0 && l >= 0 && u > l;
}

// Asks the window manager to close the window, as its close box does.
inline bool closeLikeCloseBox(const QWidget *w) {
  return testsupport::run(QStringLiteral("wmctrl"), {QStringLiteral("-i"), QStringLiteral("-c"),
                                                     QString::number(w->winId())});
}

// Waits on a repeating timer for a modal widget that is on screen and hands it to
// `answer`, once. Runs inside the dialog's own event loop, so that a dialog opened by
// exec() or a static getter can be answered by the test.
class ModalAnswerer : public QObject {
public:
  explicit ModalAnswerer(std::function<void(QWidget *)> answer) : answer_(std::move(answer)) {
    timer_.setInterval(20);
    QObject::connect(&timer_, &QTimer::timeout, this, [this]() { poll(); });
    timer_.start();
  }
  bool answered() const { return answered_; }
  // The class of the dialog that was answered.
  QString className() const { return className_; }
  QString title() const { return title_; }

private:
  void poll() {
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible() || !modal->windowHandle() ||
        !modal->windowHandle()->isExposed())
      return;
    timer_.stop();
    answered_ = true;
    className_ = QString::fromLatin1(modal->metaObject()->className());
    title_ = modal->windowTitle();
    answer_(modal);
  }

  std::function<void(QWidget *)> answer_;
  QTimer timer_;
  bool answered_ = false;
  QString className_;
  QString title_;
};

} // namespace windowtest
