// Vidurara: a ring around the mouse pointer for presentations.
#include "PrefWindow.h"

#include "PrefsFile.h"
#include "prefModule.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QColorDialog>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QSlider>

namespace {

QColor toQColor(ColorValue c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

// Captions: bold "Helvetica Neue" at the default size (Qt substitutes a near font
// where it is missing), black.
void styleCaption(QWidget *w) {
  QFont f = QApplication::font();
  f.setFamily(QStringLiteral("Helvetica Neue"));
  f.setBold(true);
  w->setFont(f);
  QPalette p = w->palette();
  p.setColor(QPalette::WindowText, Qt::black);
  p.setColor(QPalette::Text, Qt::black);
  w->setPalette(p);
}

QLabel *makeLabel(QWidget *parent, const char *name, const QRect &geometry, const char *text) {
  auto *label = new QLabel(QString::fromLatin1(text), parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setGeometry(geometry);
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  label->setFocusPolicy(Qt::NoFocus);
  styleCaption(label);
  return label;
}

QSlider *makeSlider(QWidget *parent, const char *name, const QRect &geometry, int minimum,
                    int maximum, int value) {
  auto *slider = new QSlider(Qt::Horizontal, parent);
  slider->setObjectName(QString::fromLatin1(name));
  slider->setGeometry(geometry);
  slider->setRange(minimum, maximum);
  slider->setValue(value);
  slider->setSingleStep(1);
  slider->setPageStep(20);
  slider->setTickPosition(QSlider::NoTicks);
  // Report every step of a drag, so that the ring follows the drag.
  slider->setTracking(true);
  return slider;
}

// Where "Helvetica Neue" is missing, Qt's substitute is often wider and the captions
// would be cut off by their boxes: step their common size down until all fit.
void fitCaptions(const QList<QWidget *> &captions) {
  QFont f = captions.front()->font();
  auto fits = [&captions]() {
    for (const QWidget *w : captions)
      if (w->sizeHint().width() > w->width())
        return false;
    return true;
  };
  constexpr qreal smallest = 6.0;
  while (!fits() && f.pointSizeF() - 0.5 >= smallest) {
    f.setPointSizeF(f.pointSizeF() - 0.5);
    for (QWidget *w : captions)
      w->setFont(f);
  }
}

} // namespace

PrefSwatch::PrefSwatch(QWidget *parent) : QWidget(parent) { setFocusPolicy(Qt::NoFocus); }

void PrefSwatch::Fill(ColorValue color) {
  fill_ = color;
  update();
}

void PrefSwatch::paintEvent(QPaintEvent *) {
  QPainter p(this);
  p.fillRect(rect(), toQColor(fill_));
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(rect().adjusted(0, 0, -1, -1));
}

PrefCanvas::PrefCanvas(QWidget *parent) : QWidget(parent) { setFocusPolicy(Qt::NoFocus); }

void PrefCanvas::mousePressEvent(QMouseEvent *event) {
  claimed_ = MouseDown && MouseDown();
  event->setAccepted(claimed_);
}

void PrefCanvas::mouseReleaseEvent(QMouseEvent *event) {
  // Qt sends the release to the widget that took the press, wherever it happens.
  if (!claimed_) {
    event->ignore();
    return;
  }
  claimed_ = false;
  event->accept();
  if (MouseUp)
    MouseUp();
}

PrefWindow::PrefWindow() {
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName(QStringLiteral("PrefWindow"));
  setWindowTitle(QStringLiteral("Preferences"));
  // A document window with a close box, without minimise and zoom buttons.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(248, 161);

  AutoOff = new QCheckBox(QStringLiteral("Turn Circle Off After Mouse Click"), this);
  AutoOff->setObjectName(QStringLiteral("AutoOff"));
  AutoOff->setGeometry(20, 15, 208, 20);
  AutoOff->setChecked(false);
  styleCaption(AutoOff);

  Sample = new PrefSwatch(this);
  Sample->setObjectName(QStringLiteral("Sample"));
  Sample->setGeometry(153, 47, 25, 25);

  // Lies on the swatch and draws nothing, so the swatch shows through it.
  Canvas1 = new PrefCanvas(this);
  Canvas1->setObjectName(QStringLiteral("Canvas1"));
  Canvas1->setGeometry(153, 47, 25, 25);

  Slider2 = makeSlider(this, "Slider2", QRect(130, 86, 95, 23), 50, 200, 100);
  Slider3 = makeSlider(this, "Slider3", QRect(130, 124, 95, 23), 4, 8, 6);

  Label1 = makeLabel(this, "Label1", QRect(70, 47, 71, 20), "Circle Color");
  Label4 = makeLabel(this, "Label4", QRect(24, 84, 67, 20), "Circle Size");
  Label2 = makeLabel(this, "Label2", QRect(24, 121, 100, 20), "Circle Thickness");

  fitCaptions({AutoOff, Label1, Label4, Label2});

  setTabOrder(AutoOff, Slider2);
  setTabOrder(Slider2, Slider3);

  connect(AutoOff, &QCheckBox::clicked, this, &PrefWindow::AutoOff_Action);
  Canvas1->MouseDown = [this]() { return Canvas1_MouseDown(); };
  Canvas1->MouseUp = [this]() { Canvas1_MouseUp(); };
  // Connected before the sliders load, so that a setting outside a slider's range is
  // brought to the end the slider shows.
  connect(Slider2, &QSlider::valueChanged, this, &PrefWindow::Slider2_ValueChanged);
  connect(Slider3, &QSlider::valueChanged, this, &PrefWindow::Slider3_ValueChanged);

  Canvas1_Open();
  Slider2_Open();
  Slider3_Open();
  Event_Open();
}

void PrefWindow::closeEvent(QCloseEvent *event) {
  event->accept();
  Event_Close();
}

void PrefWindow::Canvas1_Open() { Sample->Fill(Module1::CircleColor); }

void PrefWindow::Slider2_Open() { Slider2->setValue(prefModule::CircleSize); }

void PrefWindow::Slider3_Open() { Slider3->setValue(prefModule::CircleLineWidth); }

void PrefWindow::Event_Open() { AutoOff->setChecked(prefModule::AutoShutOff); }

void PrefWindow::AutoOff_Action() { prefModule::AutoShutOff = AutoOff->isChecked(); }

bool PrefWindow::Canvas1_MouseDown() { return true; }

void PrefWindow::Canvas1_MouseUp() {
  QPointer<PrefWindow> self(this);
  const QColor chosen = QColorDialog::getColor(toQColor(Module1::CircleColor), this,
                                               QStringLiteral("Select a Color"));
  // Cancelling answers an invalid colour and leaves the setting alone.
  if (chosen.isValid())
    Module1::CircleColor = RGBColor(chosen.red(), chosen.green(), chosen.blue());
  if (self)
    Sample->Fill(Module1::CircleColor);
}

void PrefWindow::Slider2_ValueChanged() { prefModule::CircleSize = Slider2->value(); }

void PrefWindow::Slider3_ValueChanged() { prefModule::CircleLineWidth = Slider3->value(); }

void PrefWindow::Event_Close() { prefModule::savePrefs(); }
