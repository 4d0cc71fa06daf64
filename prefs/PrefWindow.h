// Vidurara: a ring around the mouse pointer for presentations.
#pragma once

#include "Module1.h"

#include <QWidget>

#include <functional>

class QCheckBox;
class QLabel;
class QSlider;

// The colour swatch: a 1-pixel black frame filled with one colour.
class PrefSwatch : public QWidget {
  Q_OBJECT
public:
  explicit PrefSwatch(QWidget *parent);
  void Fill(ColorValue color);
  ColorValue FillColor() const { return fill_; }

protected:
  void paintEvent(QPaintEvent *event) override;

private:
  ColorValue fill_ = RGBColor(255, 255, 255);
};

// The swatch's click area: draws nothing. A press that MouseDown claims has its
// release reported to MouseUp wherever the pointer is then.
class PrefCanvas : public QWidget {
  Q_OBJECT
public:
  explicit PrefCanvas(QWidget *parent);
  std::function<bool()> MouseDown;
  std::function<void()> MouseUp;

protected:
  void mousePressEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;

private:
  bool claimed_ = false;
};

// The Preferences window. Every control writes its setting the moment it changes, so
// the ring takes it at the next tick; closing the window saves the preferences file.
// It keeps no copy of the settings.
class PrefWindow : public QWidget {
  Q_OBJECT
public:
  PrefWindow();

protected:
  void closeEvent(QCloseEvent *event) override;

private:
  void Canvas1_Open();
  void Slider2_Open();
  void Slider3_Open();
  void Event_Open();
  void AutoOff_Action();
  bool Canvas1_MouseDown();
  void Canvas1_MouseUp();
  void Slider2_ValueChanged();
  void Slider3_ValueChanged();
  void Event_Close();

  QCheckBox *AutoOff = nullptr;
  PrefSwatch *Sample = nullptr;
  PrefCanvas *Canvas1 = nullptr;
  QSlider *Slider2 = nullptr;
  QSlider *Slider3 = nullptr;
  QLabel *Label1 = nullptr;
  QLabel *Label4 = nullptr;
  QLabel *Label2 = nullptr;
};
