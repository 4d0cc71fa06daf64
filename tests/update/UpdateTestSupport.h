// Vidurara: a ring around the mouse pointer for presentations.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QStringList>
#include <QTcpServer>
#include <QTimer>
#include <QUrl>

class QTcpSocket;
class updateWindow;

// A small HTTP server on 127.0.0.1 that answers every request the way it is told.
class FeedServer : public QObject {
  Q_OBJECT
public:
  enum Mode {
    Answer,      // status line, Content-Length, the body, then the connection closes
    NeverAnswer, // reads the request and stays silent
    CloseAtOnce, // closes the connection without answering
    Stream,      // no Content-Length: sends the body and keeps the connection open
    DeclareOnly, // declares the body's length, sends one byte and keeps the connection open
  };
  Q_ENUM(Mode)

  FeedServer();
  ~FeedServer() override;
  QUrl feedUrl() const;
  void serve(Mode mode, int status = 200, const QByteArray &body = QByteArray());
  // Request lines seen ("GET /Updates/vidurara.xml HTTP/1.1").
  QStringList requests() const { return requests_; }
  int openConnections() const { return connections_.size(); }

  // A loopback port on which nothing listens.
  static quint16 closedPort();

private:
  void accepted();
  void readRequest(QTcpSocket *socket);

  QTcpServer server_;
  Mode mode_ = Answer;
  int status_ = 200;
  QByteArray body_;
  QStringList requests_;
  QSet<QTcpSocket *> connections_;
  QHash<QTcpSocket *, QByteArray> pending_;
};

// Counts the X server's bell (XKB bell notifications) rung by any client of the display.
class BellCounter {
public:
  BellCounter();
  ~BellCounter();
  bool available() const { return display_ != nullptr; }
  // Bells rung since construction, as far as the server has processed them.
  int count();

private:
  void *display_ = nullptr;
  int eventBase_ = 0;
  int count_ = 0;
};

// What a message box or the offer dialog showed, and the update window behind it.
struct SeenBox {
  QString title;
  QString text;
  QString informativeText;
  Qt::TextFormat textFormat = Qt::AutoText;
  Qt::TextFormat informativeFormat = Qt::AutoText;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QStringList buttons; // captions, sorted
  QString defaultButton;
  QString pressed;
  int bells = -1;      // bells rung before the box was seen; -1: not measurable
  QString updateLabel; // StaticText1 of the update window
  bool progressVisible = false;
  bool selfTestVisible = false;
  bool fitsScreen = false; // the whole box, frame included, lies on the screen
};

// Answers the real modal boxes from a timer, the way a user would: it records each box,
// then presses the next caption of `presses` (or the box's escape button when the list is
// used up). With `cancelAfterMs` set, it presses the update window's Cancel once that
// window has been up so long with no box. After `deadlineMs` it closes whatever is left
// so that a faulty check cannot hang the test.
class DialogAnswerer : public QObject {
  Q_OBJECT
public:
  explicit DialogAnswerer(BellCounter *bells, QStringList presses = {}, int cancelAfterMs = -1,
                          int deadlineMs = 15000);
  QList<SeenBox> seen;
  bool timedOut = false;
  bool cancelled = false;
  bool selfTestVisibleAtCancel = true;

private:
  void poll();
  BellCounter *bells_;
  QStringList presses_;
  int cancelAfterMs_;
  int deadlineMs_;
  int elapsedMs_ = 0;
  int idleMs_ = 0;
  QTimer timer_;
  QPointer<QMessageBox> current_;
};

// The open update window, if any.
updateWindow *openUpdateWindow();

// Catches addresses handed to the browser.
class UrlCatcher : public QObject {
  Q_OBJECT
public:
  UrlCatcher();
  ~UrlCatcher() override;
  QList<QUrl> urls;
public slots:
  void open(const QUrl &url) { urls << url; }
};

// The X window's content-area position as the X server sees it (xwininfo).
QPoint contentPosition(const QWidget *window);
// Closes a window through the window manager, like its close box.
bool closeWithCloseBox(const QWidget *window);
