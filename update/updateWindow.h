// Vidurara: a ring around the mouse pointer for presentations.
#pragma once

#include <QByteArray>
#include <QList>
#include <QNetworkReply>
#include <QPointer>
#include <QUrl>
#include <QWidget>

class QLabel;
class QNetworkAccessManager;
class QProgressBar;
class QPushButton;

// One update check: fetches the feed, judges its version and ends with a message, the
// offer dialog or an error message. The request lives as long as the window; closing the
// window (Cancel, the close box) abandons it. Created by selfTest, shown modally.
class updateWindow : public QWidget {
  Q_OBJECT
public:
  updateWindow();
  ~updateWindow() override;

  // Feed bodies larger than this are a communication failure and are never held whole.
  static constexpr qint64 MaxFeedBytes = 1024 * 1024;
  // The code shown for a body over MaxFeedBytes.
  static constexpr int FeedTooLargeCode = QNetworkReply::UnknownContentError;

  // Where the feed is fetched from: ProductInfo::FeedUrl unless a test points it at a
  // server of its own.
  static QUrl feedUrl();
  static void setFeedUrl(const QUrl &url);

  // Makes the window application-modal and shows it; returns at once. closed() tells
  // when it is gone.
  void showModally();

  static QString startTag(const QString &name);
  static QString endTag(const QString &name);
  static QString returnValue(const QString &body, const QString &name);
  // The offer dialog, and what its answer does.
  void askUpgrade(const QString &version, const QString &description,
                  const QString &downloadAddress, bool isFree);

  QLabel *StaticText1 = nullptr;
  QProgressBar *ProgressBar1 = nullptr;
  QPushButton *PushButton1 = nullptr;

signals:
  // The window has accepted its close: the check is over.
  void closed();

protected:
  void closeEvent(QCloseEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;

private:
  void Event_Open();
  void hp_PageReceived(const QUrl &url, int httpStatus,
                       const QList<QNetworkReply::RawHeaderPair> &headers, const QByteArray &body);
  void hp_Error(int code);
  void PushButton1_Action();

  void replyMetaDataChanged();
  void replyReadyRead();
  void replyFinished();
  // Ends the request: no further signal of it reaches this window.
  void abandonRequest();
  void fail(int code);
  void failSoon(int code);
  void showMessage(const QString &text);

  QNetworkAccessManager *hp = nullptr;
  QPointer<QNetworkReply> reply_;
  QByteArray body_;
  qint64 received_ = 0;
  // The HTTP status of an error reply, 0 while the reply looks like a feed.
  int errorStatus_ = 0;
  bool closed_ = false;
};
