// Vidurara: a ring around the mouse pointer for presentations.
#include "updateWindow.h"

#include "AppVersion.h"
#include "FeedReader.h"
#include "ProductInfo.h"
#include "SingleInstance.h"
#include "selfTest.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

#include <utility>

namespace {

QUrl &feedUrlSlot() {
  static QUrl url(QString::fromUtf8(ProductInfo::FeedUrl));
  return url;
}

// Feed text is not ours: no label it reaches may interpret markup.
void makePlain(QMessageBox &box) {
  box.setTextFormat(Qt::PlainText);
  for (QLabel *label : box.findChildren<QLabel *>())
    if (label->objectName() == QLatin1String("qt_msgbox_informativelabel"))
      label->setTextFormat(Qt::PlainText);
}

} // namespace

QUrl updateWindow::feedUrl() { return feedUrlSlot(); }
void updateWindow::setFeedUrl(const QUrl &url) { feedUrlSlot() = url; }

QString updateWindow::startTag(const QString &name) { return FeedReader::startTag(name); }
QString updateWindow::endTag(const QString &name) { return FeedReader::endTag(name); }
QString updateWindow::returnValue(const QString &body, const QString &name) {
  return FeedReader::returnValue(body, name);
}

updateWindow::updateWindow()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Update"));
  setFixedSize(300, 120);

  StaticText1 = new QLabel(QStringLiteral("Checking for updates..."), this);
  StaticText1->setObjectName(QStringLiteral("StaticText1"));
  StaticText1->setGeometry(20, 19, 266, 20);
  QFont arial(QStringLiteral("Arial"));
  arial.setPointSize(12);
  StaticText1->setFont(arial);
  StaticText1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  StaticText1->setTextFormat(Qt::PlainText);
  StaticText1->setWordWrap(false);

  ProgressBar1 = new QProgressBar(this);
  ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
  ProgressBar1->setGeometry(20, 46, 260, 12);
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setValue(0);
  ProgressBar1->setTextVisible(false);

  PushButton1 = new QPushButton(QStringLiteral("Cancel"), this);
  PushButton1->setObjectName(QStringLiteral("PushButton1"));
  PushButton1->setGeometry(208, 80, 72, 20);
  PushButton1->setFont(QApplication::font());
  PushButton1->setDefault(true);
  connect(PushButton1, &QPushButton::clicked, this, &updateWindow::PushButton1_Action);
  PushButton1->setFocus();

  // A modal window of its own: centred on the screen the user works on.
  if (const QScreen *screen = QGuiApplication::primaryScreen())
    setGeometry(
        QRect(QPoint(), size())
            .translated(screen->availableGeometry().center() - QRect(QPoint(), size()).center()));

  hp = new QNetworkAccessManager(this);
  Event_Open();
}

updateWindow::~updateWindow() { abandonRequest(); }

void updateWindow::showModally() {
  setWindowModality(Qt::ApplicationModal);
  show();
  raise();
  activateWindow();
}

void updateWindow::Event_Open() {
  ProgressBar1->setMaximum(0);

  QNetworkRequest request(feedUrl());
  // One GET and nothing else: a redirect is an answer of its own, not a second request.
  request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                       QNetworkRequest::ManualRedirectPolicy);
  // No time-out: the user decides how long to wait.
  request.setTransferTimeout(0);
  reply_ = hp->get(request);
  connect(reply_, &QNetworkReply::metaDataChanged, this, &updateWindow::replyMetaDataChanged);
  connect(reply_, &QNetworkReply::readyRead, this, &updateWindow::replyReadyRead);
  connect(reply_, &QNetworkReply::finished, this, &updateWindow::replyFinished);

  if (selfTest *checkWindow = SingleInstance<selfTest>::find())
    if (checkWindow->isVisible())
      checkWindow->close();
}

void updateWindow::abandonRequest() {
  if (!reply_)
    return;
  QNetworkReply *reply = reply_;
  reply_ = nullptr;
  reply->disconnect(this);
  // A reply that already carries an error is ended by its deletion; aborting it would
  // report a second error.
  if (!reply->isFinished() && reply->error() == QNetworkReply::NoError)
    reply->abort();
  reply->deleteLater();
}

namespace {
bool isSuccess(const QVariant &status) {
  return status.isValid() && status.toInt() >= 200 && status.toInt() <= 299;
}
} // namespace

void updateWindow::replyMetaDataChanged() {
  const QVariant status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute);
  if (status.isValid() && !isSuccess(status)) {
    // An error page is no feed: its body is skipped, and the reply's end reports it.
    errorStatus_ = status.toInt();
    return;
  }
  const QVariant length = reply_->header(QNetworkRequest::ContentLengthHeader);
  if (length.isValid() && length.toLongLong() > MaxFeedBytes)
    failSoon(FeedTooLargeCode);
}

void updateWindow::replyReadyRead() {
  const qint64 incoming = reply_->bytesAvailable();
  if (received_ + incoming > MaxFeedBytes) {
    failSoon(errorStatus_ ? errorStatus_ : FeedTooLargeCode);
    return;
  }
  received_ += incoming;
  if (errorStatus_)
    reply_->skip(incoming);
  else
    body_ += reply_->readAll();
}

void updateWindow::failSoon(int code) {
  // Qt is still inside this reply's signal: hear nothing more of it now and abandon it
  // once the signal has returned.
  reply_->disconnect(this);
  body_.clear();
  QMetaObject::invokeMethod(
      this, [this, code] { fail(code); }, Qt::QueuedConnection);
}

void updateWindow::replyFinished() {
  const QVariant status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute);
  const QNetworkReply::NetworkError error = reply_->error();
  if (status.isValid() && !isSuccess(status)) {
    fail(status.toInt());
    return;
  }
  if (error != QNetworkReply::NoError) {
    fail(int(error));
    return;
  }
  if (received_ + reply_->bytesAvailable() > MaxFeedBytes) {
    fail(FeedTooLargeCode);
    return;
  }
  body_ += reply_->readAll();
  const QUrl url = reply_->url();
  const QList<QNetworkReply::RawHeaderPair> headers = reply_->rawHeaderPairs();
  const QByteArray body = std::exchange(body_, QByteArray());
  const int httpStatus = status.toInt();
  abandonRequest();
  // The handlers show modal dialogs: let the reply's signal return first.
  QMetaObject::invokeMethod(
      this,
      [this, url, httpStatus, headers, body] {
        if (!closed_)
          hp_PageReceived(url, httpStatus, headers, body);
      },
      Qt::QueuedConnection);
}

void updateWindow::fail(int code) {
  body_.clear();
  abandonRequest();
  QMetaObject::invokeMethod(
      this,
      [this, code] {
        if (!closed_)
          hp_Error(code);
      },
      Qt::QueuedConnection);
}

void updateWindow::showMessage(const QString &text) {
  QPointer<QMessageBox> box = new QMessageBox(this);
  box->setWindowTitle(QString::fromUtf8(ProductInfo::ProductName));
  box->setText(text);
  box->setStandardButtons(QMessageBox::Ok);
  makePlain(*box);
  box->exec();
  delete box.data();
}

void updateWindow::hp_PageReceived(const QUrl &, int, const QList<QNetworkReply::RawHeaderPair> &,
                                   const QByteArray &bytes) {
  if (bytes.isEmpty()) {
    close();
    return;
  }
  // The feed is written in UTF-8 (plain ASCII in practice); no other conversion applies.
  const QString body = QString::fromUtf8(bytes);
  const QString version = returnValue(body, QStringLiteral("CurrentVersion"));
  const QString description = returnValue(body, QStringLiteral("Description"));
  const bool isFree = FeedReader::isFreeUpgrade(returnValue(body, QStringLiteral("Free")));

  ProgressBar1->hide();

  if (FeedReader::isCurrentVersion(version, AppVersion::MajorVersion, AppVersion::MinorVersion,
                                   AppVersion::BugVersion)) {
    StaticText1->setText(QStringLiteral("This version is current."));
    StaticText1->repaint();
    QPointer<updateWindow> self(this);
    showMessage(QStringLiteral("You are using the current version. No update is available."));
    if (self)
      close();
    return;
  }
  askUpgrade(version, description, QString::fromUtf8(ProductInfo::DownloadPage), isFree);
}

void updateWindow::hp_Error(int code) {
  QApplication::beep();
  QPointer<updateWindow> self(this);
  showMessage(QStringLiteral("There was a communication error ") +
              QStringLiteral("with the website. Please try ") +
              QStringLiteral("again later. (Code: ") + QString::number(code) + QStringLiteral(")"));
  if (self)
    close();
}

void updateWindow::askUpgrade(const QString &version, const QString &description,
                              const QString &downloadAddress, bool isFree) {
  QString message = QStringLiteral("Version ") + FeedReader::clipForDialog(version) +
                    QStringLiteral(" is now available. ") +
                    QStringLiteral("(You are using version ") +
                    QString::fromUtf8(AppVersion::ShortVersion) + QStringLiteral(".) ");
  if (isFree)
    message += QStringLiteral("This is a free upgrade. ") +
               QStringLiteral("Would you like to automatically download ") +
               QStringLiteral("this update (using your web browser)?");
  else
    message += QStringLiteral("This is a paid upgrade. ") +
               QStringLiteral("Would you like to automatically download ") +
               QStringLiteral("the trial version (using your web browser)?");

  QPointer<QMessageBox> dialog = new QMessageBox(this);
  dialog->setWindowTitle(QStringLiteral("New version available!"));
  dialog->setIcon(QMessageBox::Question);
  dialog->setText(message);
  dialog->setInformativeText(FeedReader::clipForDialog(description));
  QPushButton *accept = dialog->addButton(QMessageBox::Ok);
  QPushButton *cancel = dialog->addButton(QMessageBox::Cancel);
  QPushButton *alternate =
      dialog->addButton(QStringLiteral("Go to Website"), QMessageBox::ActionRole);
  dialog->setDefaultButton(accept);
  dialog->setEscapeButton(cancel);
  makePlain(*dialog);

  QPointer<updateWindow> self(this);
  dialog->exec();
  if (!dialog || !self)
    return;
  const QAbstractButton *pressed = dialog->clickedButton();
  const bool cancelled = pressed == cancel, accepted = pressed == accept,
             alternative = pressed == alternate;
  delete dialog.data();

  if (cancelled) {
    close();
  } else if (accepted) {
    QDesktopServices::openUrl(QUrl(downloadAddress));
    if (self)
      close();
  } else if (alternative) {
    // The window stays open; Cancel or the close box end the check.
    QDesktopServices::openUrl(QUrl(QString::fromUtf8(ProductInfo::WebSite)));
  }
}

void updateWindow::PushButton1_Action() { close(); }

void updateWindow::closeEvent(QCloseEvent *event) {
  abandonRequest();
  event->accept();
  closed_ = true;
  emit closed();
}

void updateWindow::keyPressEvent(QKeyEvent *event) {
  // Cancel is both the default and the cancel button.
  switch (event->key()) {
  case Qt::Key_Return:
  case Qt::Key_Enter:
  case Qt::Key_Escape:
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
      PushButton1->click();
      return;
    }
    break;
  default:
    break;
  }
  QWidget::keyPressEvent(event);
}
