// Vidurara: a ring around the mouse pointer for presentations.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>

// The about box: product name, running version, credits, and three buttons that hand
// the user to the mail program, the web site and the order page. One at a time
// (SingleInstance<AboutBox>); it deletes itself when closed, and no button closes it.
class AboutBox : public QWidget {
  Q_OBJECT
public:
  AboutBox();

  void PushButton1_Action();
  void PushButton2_Action();
  void StaticText4_Open();
  void OrderButton_Action();

  QLabel *const StaticText1;
  QLabel *const StaticText3;
  QLabel *const StaticText4;
  QLabel *const StaticText2;
  QPushButton *const PushButton1;
  QPushButton *const PushButton2;
  QPushButton *const OrderButton;
};
