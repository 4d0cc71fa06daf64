// Vidurara: a ring around the mouse pointer for presentations.
#include "AboutBox.h"

#include "AppVersion.h"
#include "ProductInfo.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFont>
#include <QKeySequence>
#include <QShortcut>
#include <QStringList>
#include <QUrl>

#include <algorithm>

namespace {

// The layout was drawn for a screen of 72 pixels per inch, where a point is a pixel.
// Sizing the fonts in pixels keeps the texts inside their boxes on any screen; point
// sizes on a 96-dpi screen would cut off "Version:" and the version text.
QFont layoutFont(const QString &family, int size, bool bold) {
  QFont font(family);
  font.setPixelSize(size);
  font.setBold(bold);
  return font;
}

QFont systemFont(bool bold) {
  QFont font = QApplication::font();
  font.setBold(bold);
  return font;
}

void openAddress(const QString &address) { QDesktopServices::openUrl(QUrl(address)); }

} // namespace

AboutBox::AboutBox()
    : StaticText1(new QLabel(this)), StaticText3(new QLabel(this)), StaticText4(new QLabel(this)),
      StaticText2(new QLabel(this)), PushButton1(new QPushButton(this)),
      PushButton2(new QPushButton(this)), OrderButton(new QPushButton(this)) {
  setAttribute(Qt::WA_DeleteOnClose);
  // A document window with a close box only.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setWindowTitle(QStringLiteral("About..."));
  setFixedSize(264, 295);

  const QString arial = QStringLiteral("Arial");

  StaticText1->setObjectName(QStringLiteral("StaticText1"));
  StaticText1->setGeometry(20, 20, 224, 45);
  StaticText1->setFont(layoutFont(arial, 24, true));
  StaticText1->setAlignment(Qt::AlignCenter);
  StaticText1->setText(QString::fromUtf8(ProductInfo::ProductName));

  StaticText3->setObjectName(QStringLiteral("StaticText3"));
  StaticText3->setGeometry(72, 60, 50, 20);
  StaticText3->setFont(layoutFont(arial, 12, true));
  StaticText3->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  StaticText3->setText(QStringLiteral("Version:"));

  StaticText4->setObjectName(QStringLiteral("StaticText4"));
  StaticText4->setGeometry(132, 60, 60, 20);
  StaticText4->setFont(layoutFont(arial, 12, true));
  StaticText4->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  StaticText4->setText(QStringLiteral("2.1.0 Intel"));

  StaticText2->setObjectName(QStringLiteral("StaticText2"));
  StaticText2->setGeometry(80, 86, 104, 87);
  StaticText2->setFont(systemFont(false));
  StaticText2->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  StaticText2->setText(QStringList{
      QStringLiteral("Developed by"), QString::fromUtf8(ProductInfo::DeveloperName), QString(),
      QStringLiteral("Sr. Beta Tester"), QString::fromUtf8(ProductInfo::BetaTesterName)}
                           .join(QLatin1Char('\n')));

  for (QLabel *label : {StaticText1, StaticText3, StaticText4, StaticText2}) {
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::NoTextInteraction);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
  }
  StaticText1->setWordWrap(false);

  PushButton1->setObjectName(QStringLiteral("PushButton1"));
  PushButton1->setGeometry(72, 180, 120, 21);
  PushButton1->setText(QStringLiteral("Email Author"));
  PushButton2->setObjectName(QStringLiteral("PushButton2"));
  PushButton2->setGeometry(72, 217, 120, 21);
  PushButton2->setText(QStringLiteral("Visit Web Site"));
  OrderButton->setObjectName(QStringLiteral("OrderButton"));
  OrderButton->setGeometry(72, 254, 120, 21);
  OrderButton->setText(QStringLiteral("Order Online"));
  for (QPushButton *button : {PushButton1, PushButton2, OrderButton}) {
    button->setFont(systemFont(true));
    button->setAutoDefault(false);
  }
  OrderButton->setDefault(true);

  connect(PushButton1, &QPushButton::clicked, this, &AboutBox::PushButton1_Action);
  connect(PushButton2, &QPushButton::clicked, this, &AboutBox::PushButton2_Action);
  connect(OrderButton, &QPushButton::clicked, this, &AboutBox::OrderButton_Action);

  // Outside a dialog Qt has no default button: Return and Enter press it here, whichever
  // control has the focus.
  for (const int key : {int(Qt::Key_Return), int(Qt::Key_Enter)}) {
    auto *shortcut = new QShortcut(QKeySequence(key), this);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, OrderButton, &QPushButton::animateClick);
  }

  StaticText4_Open();
}

void AboutBox::PushButton1_Action() {
  openAddress(QStringLiteral("mailto:") + QString::fromUtf8(ProductInfo::AuthorEmail));
}

void AboutBox::PushButton2_Action() { openAddress(QString::fromUtf8(ProductInfo::WebSite)); }

void AboutBox::StaticText4_Open() {
  StaticText4->setText(QString::fromUtf8(AppVersion::LongVersion));
  // The version text may be wider than its box on some systems: grow to the left so
  // that its right edge stays lined up with the buttons and nothing is cut off.
  const int needed = StaticText4->sizeHint().width();
  const QRect box = StaticText4->geometry();
  if (needed > box.width()) {
    const int right = box.right();
    const int left = std::max(StaticText3->geometry().right() + 1, right + 1 - needed);
    StaticText4->setGeometry(QRect(QPoint(left, box.top()), QPoint(right, box.bottom())));
  }
}

void AboutBox::OrderButton_Action() { openAddress(QString::fromUtf8(ProductInfo::OrderPage)); }
