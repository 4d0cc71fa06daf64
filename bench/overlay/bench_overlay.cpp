// Vidurara: a ring around the mouse pointer for presentations.
// What one frame of the ring costs: the frame the circle overlay draws on every tick
// (clear, one ring, flush twice) on a full-screen overlay, at 1280x800 and 3840x2160.
// Run without arguments: each size gets its own virtual X server with a compositing
// manager, and the figures of both are printed side by side.
#include "EasyOverlayWindow.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QScreen>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

double cpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

double wallSeconds() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

long statusKb(const char *field, const std::string &pid = "self") {
  std::ifstream in("/proc/" + pid + "/status");
  std::string line;
  while (std::getline(in, line))
    if (line.rfind(field, 0) == 0)
      return std::stol(line.substr(std::string(field).size()));
  return -1;
}

// The X server of this session: a sibling of ours, started by the same session script.
std::string xServerPid() {
  const std::string parent = std::to_string(getppid());
  for (const QString &entry : QDir("/proc").entryList(QDir::Dirs)) {
    bool number = false;
    entry.toInt(&number);
    if (!number)
      continue;
    std::ifstream in("/proc/" + entry.toStdString() + "/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto close = stat.rfind(')');
    if (close == std::string::npos || stat.find("(Xvfb)") == std::string::npos)
      continue;
    std::istringstream rest(stat.substr(close + 2));
    std::string state, ppid;
    rest >> state >> ppid;
    if (ppid == parent)
      return entry.toStdString();
  }
  return {};
}

double processCpuSeconds(const std::string &pid) {
  if (pid.empty())
    return 0;
  std::ifstream in("/proc/" + pid + "/stat");
  std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::istringstream rest(stat.substr(stat.rfind(')') + 2));
  std::string field;
  for (int i = 0; i < 11; ++i) // state .. cmajflt
    rest >> field;
  double utime = 0, stime = 0;
  rest >> utime >> stime;
  return (utime + stime) / double(sysconf(_SC_CLK_TCK));
}

constexpr int kSize = 100, kLine = 6;

void ringFrame(EasyOverlayWindow &o, QPoint pointer, ColorValue color) {
  o.Clear();
  o.LineWidth(kLine);
  o.ForeColor(color);
  o.DrawOval(int(pointer.x() - kSize / 2.0), int(pointer.y() - kSize / 2.0), kSize - kLine,
             kSize - kLine);
  o.DrawWindow();
  o.DrawWindow();
}

struct Cost {
  double cpuUs, serverUs, wallUs;
};

// Medians of several runs: the machine is shared, single runs vary a lot.
template <typename Frame> Cost measure(int frames, const std::string &server, Frame frame) {
  constexpr int runs = 7;
  std::vector<double> cpu, srv, wall;
  for (int r = 0; r < runs; ++r) {
    const double c0 = cpuSeconds(), s0 = processCpuSeconds(server), w0 = wallSeconds();
    for (int i = 0; i < frames; ++i) {
      frame(r * frames + i);
      QCoreApplication::processEvents(); // what the event loop does between ticks
    }
    const double c1 = cpuSeconds(), s1 = processCpuSeconds(server), w1 = wallSeconds();
    cpu.push_back((c1 - c0) * 1e6 / frames);
    srv.push_back((s1 - s0) * 1e6 / frames);
    wall.push_back((w1 - w0) * 1e6 / frames);
  }
  auto median = [](std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
  };
  return {median(cpu), median(srv), median(wall)};
}

int child(int argc, char **argv) {
  QApplication app(argc, argv);
  const std::string server = xServerPid();
  const QSize screen = QGuiApplication::primaryScreen()->size();
  EasyOverlayWindow overlay;
  overlay.Init(0, 0, screen.width(), screen.height(), nullptr);
  const QPoint middle(screen.width() / 2, screen.height() / 2);
  ringFrame(overlay, middle, RGBColor(0, 0, 255));
  for (int i = 0; i < 50; ++i)
    QCoreApplication::processEvents();

  const int frames = 1000;
  // The pointer moving: the same ring elsewhere each tick, across the screen.
  const Cost moving = measure(frames, server, [&](int i) {
    const int x = 100 + (i * 3) % (screen.width() - 200),
              y = 100 + (i * 2) % (screen.height() - 200);
    ringFrame(overlay, QPoint(x, y), RGBColor(0, 0, 255));
  });
  // The pointer at rest.
  const Cost still =
      measure(frames, server, [&](int) { ringFrame(overlay, middle, RGBColor(0, 0, 255)); });
  // New content every tick (the colour or the size changing): rendered and shaped anew.
  const Cost changing = measure(frames / 3, server, [&](int i) {
    ringFrame(overlay, middle, i % 2 ? RGBColor(0, 0, 255) : RGBColor(200, 0, 0));
  });
  overlay.Close();
  std::printf("%d %d %.2f %.2f %.2f %.2f %.2f %.2f %.2f %.2f %.2f %ld\n", screen.width(),
              screen.height(), moving.cpuUs, moving.serverUs, moving.wallUs, still.cpuUs,
              still.serverUs, still.wallUs, changing.cpuUs, changing.serverUs, changing.wallUs,
              statusKb("VmHWM:"));
  return 0;
}

} // namespace

int main(int argc, char **argv) {
  if (argc > 1 && std::string(argv[1]) == "--child")
    return child(argc, argv);

  const char *sizes[] = {"1280x800x24", "3840x2160x24"};
  double moving[2] = {0, 0};
  std::printf("Ring frame (clear, ring %d px / %d px, flush twice), full-screen overlay,\n"
              "Xvfb + xcompmgr; microseconds per frame (program CPU / X server CPU / wall)\n\n",
              kSize, kLine);
  std::printf("%-10s %-24s %-24s %-24s %s\n", "screen", "moving ring", "identical frame",
              "new content", "peak memory (VmHWM)");
  for (int i = 0; i < 2; ++i) {
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(QStringLiteral(VIDURARA_XSESSION),
            {"--screen", sizes[i], "--", QString::fromLocal8Bit(argv[0]), "--child"});
    if (!p.waitForFinished(300000) || p.exitCode() != 0) {
      std::fprintf(stderr, "bench_overlay: the run at %s failed\n", sizes[i]);
      return 1;
    }
    const QStringList f = QString::fromLocal8Bit(p.readAllStandardOutput())
                              .trimmed()
                              .split(QLatin1Char('\n'))
                              .last()
                              .split(QLatin1Char(' '));
    if (f.size() != 12) {
      std::fprintf(stderr, "bench_overlay: unexpected output at %s\n", sizes[i]);
      return 1;
    }
    auto triple = [&](int k) { return (f[k] + " / " + f[k + 1] + " / " + f[k + 2]).toStdString(); };
    moving[i] = f[2].toDouble();
    std::printf("%-10s %-24s %-24s %-24s %.1f MB\n", (f[0] + "x" + f[1]).toUtf8().constData(),
                triple(2).c_str(), triple(5).c_str(), triple(8).c_str(), f[11].toDouble() / 1024);
  }
  std::printf("\nmoving ring, program CPU, 3840x2160 / 1280x800: %.2f\n",
              moving[0] > 0 ? moving[1] / moving[0] : 0.0);
  return 0;
}
