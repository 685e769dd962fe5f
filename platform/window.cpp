#include "platform/window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/automation.h"
#include "platform/codepage.h"
#include "platform/drawing.h"
#include "platform/gui_app.h"
#include "platform/handles.h"
#include "platform/host_objects.h"
#include "platform/keys.h"
#include "platform/process.h"
#include "platform/user_input.h"

namespace morven::platform {
namespace {

// Our non-client metrics (Windows' classic ones).
constexpr int32_t kSizingBorder = 4;
constexpr int32_t kFixedBorder = 3;
constexpr int32_t kCaptionHeight = 19;
constexpr int32_t kMenuHeight = 19;

std::vector<uint32_t> g_windows;  // top-level windows, topmost first
uint32_t g_focus = 0;
uint32_t g_main = 0;
uint32_t g_desktop = 0;
int g_desktop_marker = 0;

QImage g_last_main_picture;  // the main window's client area when it was destroyed
std::string g_snapshot_path;
bool g_snapshot_registered = false;

struct DisplayInfo {
  int32_t width = 1024, height = 768, bits = 24;
};

DisplayInfo ReadHeadlessDisplay() {
  DisplayInfo d;
  if (const char* screen = std::getenv("MORVEN_SCREEN"); screen != nullptr && *screen != '\0') {
    int w = 0, h = 0;
    char tail = 0;
    if (std::sscanf(screen, "%dx%d%c", &w, &h, &tail) != 2 || w < 8 || h < 15 || w > 16384 || h > 16384) {
      std::fprintf(stderr, "morvrun: MORVEN_SCREEN must be WIDTHxHEIGHT, not %s\n", screen);
      EndProcess(3);
    }
    d.width = w;
    d.height = h;
  }
  return d;
}

DisplayInfo Display() {
  if (IsHeadless()) {
    static const DisplayInfo headless = ReadHeadlessDisplay();
    return headless;
  }
  EnsureGuiApplication();
  DisplayInfo d;
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    d.width = screen->size().width();
    d.height = screen->size().height();
    d.bits = screen->depth();
  }
  return d;
}

QString ToQt(std::string_view cp1252) { return QString::fromStdString(Cp1252ToUtf8(cp1252)); }

void ClientOf(const HostWindow& w, int32_t& width, int32_t& height) {
  FrameMetrics f = FrameOf(w.spec.style, w.spec.menu_bar);
  width = std::max(w.rect.right - w.rect.left - 2 * f.border, 0);
  height = std::max(w.rect.bottom - w.rect.top - 2 * f.border - f.caption - f.menu, 0);
}

void WriteSnapshot() {
  QImage picture = g_last_main_picture;
  if (HostWindow* w = FindHostWindow(g_main)) picture = w->surface;
  if (picture.isNull()) return;
  if (!picture.save(QString::fromStdString(g_snapshot_path), "PNG"))
    std::fprintf(stderr, "morvrun: cannot write MORVEN_SNAPSHOT %s\n", g_snapshot_path.c_str());
}

void RegisterSnapshot() {
  if (g_snapshot_registered) return;
  g_snapshot_registered = true;
  if (const char* path = std::getenv("MORVEN_SNAPSHOT"); path != nullptr && *path != '\0') {
    g_snapshot_path = StartRelativePath(path);
    AddExitStep(WriteSnapshot);
  }
}

// The virtual-key code of a host key.
uint8_t VirtualKeyOf(const QKeyEvent& e) {
  int key = e.key();
  bool ctrl = e.modifiers() & Qt::ControlModifier;
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return static_cast<uint8_t>(kVkF1 + (key - Qt::Key_F1));
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return static_cast<uint8_t>('A' + (key - Qt::Key_A));
  if (key >= Qt::Key_0 && key <= Qt::Key_9) {
    if (e.modifiers() & Qt::KeypadModifier) return static_cast<uint8_t>(kVkNumpad0 + (key - Qt::Key_0));
    return static_cast<uint8_t>('0' + (key - Qt::Key_0));
  }
  switch (key) {
    case Qt::Key_Backspace: return kVkBack;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return kVkTab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return kVkReturn;
    case Qt::Key_Shift: return kVkShift;
    case Qt::Key_Control: return kVkControl;
    case Qt::Key_Alt: return kVkMenu;
    case Qt::Key_Pause: return ctrl ? kVkCancel : kVkPause;
    case Qt::Key_Cancel: return kVkCancel;
    case Qt::Key_Escape: return kVkEscape;
    case Qt::Key_Space: return kVkSpace;
    case Qt::Key_PageUp: return kVkPrior;
    case Qt::Key_PageDown: return kVkNext;
    case Qt::Key_End: return kVkEnd;
    case Qt::Key_Home: return kVkHome;
    case Qt::Key_Left: return kVkLeft;
    case Qt::Key_Up: return kVkUp;
    case Qt::Key_Right: return kVkRight;
    case Qt::Key_Down: return kVkDown;
    case Qt::Key_Insert: return kVkInsert;
    case Qt::Key_Delete: return kVkDelete;
    default: break;
  }
  if (key >= 0x20 && key < 0x7F) return KeyForChar(static_cast<uint8_t>(key)).vk;
  return kVkPacket;
}

// The toolkit window: the menu bar (when the window has one) above the client area,
// which shows the window's surface. Host events become posted messages.
class HostWidget : public QWidget {
 public:
  explicit HostWidget(uint32_t handle) : handle_(handle) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_InputMethodEnabled, false);
  }

  void AddLeerMenu() {
    menu_ = new QMenuBar(this);
    menu_->setNativeMenuBar(false);
    QAction* item = menu_->addAction(ToQt("\xA9"));
    uint32_t handle = handle_;
    QObject::connect(item, &QAction::triggered,
                     [handle] { PostMessage(Message{handle, kWmCommand, kLeerMenuCommand, 0}); });
    menu_->setGeometry(0, 0, width(), kMenuHeight);
  }

  int32_t MenuRow() const { return menu_ != nullptr ? kMenuHeight : 0; }

  // Sizes the toolkit window for a client area of width x height.
  void FitClient(int32_t width, int32_t height) {
    expected_ = QSize(std::max(width, 1), std::max(height, 1) + MenuRow());
    resize(expected_);
    if (menu_ != nullptr) menu_->setGeometry(0, 0, expected_.width(), kMenuHeight);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    HostWindow* w = FindHostWindow(handle_);
    if (w == nullptr) return;
    p.fillRect(rect(), Qt::white);
    p.drawImage(0, MenuRow(), w->surface);
  }

  void keyPressEvent(QKeyEvent* e) override { Key(*e, true); }
  void keyReleaseEvent(QKeyEvent* e) override { Key(*e, false); }

  void mousePressEvent(QMouseEvent* e) override { Mouse(*e, e->button() == Qt::RightButton ? kWmRButtonDown : kWmLButtonDown); }
  void mouseReleaseEvent(QMouseEvent* e) override { Mouse(*e, e->button() == Qt::RightButton ? kWmRButtonUp : kWmLButtonUp); }
  void mouseMoveEvent(QMouseEvent* e) override { Mouse(*e, kWmMouseMove); }

  void closeEvent(QCloseEvent* e) override {
    // The runtime decides: the close box is a system command.
    e->ignore();
    PostMessage(Message{handle_, kWmSysCommand, kScClose, 0});
  }

  void resizeEvent(QResizeEvent*) override {
    if (size() == expected_) return;
    // The user changed the size.
    HostWindow* w = FindHostWindow(handle_);
    if (w == nullptr) return;
    FrameMetrics f = FrameOf(w->spec.style, w->spec.menu_bar);
    int32_t outer_w = width() + 2 * f.border;
    int32_t outer_h = height() - MenuRow() + 2 * f.border + f.caption + f.menu;
    SetWindowPos(handle_, 0, w->rect.left, w->rect.top, outer_w, outer_h, kSwpNoZOrder | kSwpNoMove);
  }

 private:
  void Key(const QKeyEvent& e, bool down) {
    uint8_t vk = VirtualKeyOf(e);
    bool alt = e.modifiers() & Qt::AltModifier;
    bool system = alt || IsSystemKey(vk);
    int character = -1;
    if (down) {
      NoteKeyDown(vk);
      QString text = e.text();
      if (!text.isEmpty()) character = UnicodeToCp1252(text.toUcs4().value(0));
    }
    int32_t param = down ? (e.isAutoRepeat() ? 0x40000001 : 1) : static_cast<int32_t>(0xC0000001u);
    if (alt) param |= 0x20000000;
    uint32_t number = down ? (system ? kWmSysKeyDown : kWmKeyDown) : (system ? kWmSysKeyUp : kWmKeyUp);
    uint32_t focus = GetFocus();
    PostMessage(Message{focus != 0 ? focus : handle_, number, vk, param, character});
  }

  void Mouse(const QMouseEvent& e, uint32_t number) {
    int32_t x = static_cast<int32_t>(e.position().x());
    int32_t y = static_cast<int32_t>(e.position().y()) - MenuRow();
    if (y < 0 && number != kWmLButtonUp && number != kWmRButtonUp) return;
    uint32_t buttons = 0;
    if (e.buttons() & Qt::LeftButton) buttons |= kMkLButton;
    if (e.buttons() & Qt::RightButton) buttons |= kMkRButton;
    PostMessage(Message{handle_, number, buttons, PointParam(x, y)});
  }

  uint32_t handle_;
  QMenuBar* menu_ = nullptr;
  QSize expected_;
};

HostWidget* WidgetOf(HostWindow& w) { return static_cast<HostWidget*>(w.widget); }

void ApplyGeometry(HostWindow& w) {
  int32_t cw = 0, ch = 0;
  ClientOf(w, cw, ch);
  QImage old = w.surface;
  if (old.width() != std::max(cw, 1) || old.height() != std::max(ch, 1)) {
    w.surface = QImage(std::max(cw, 1), std::max(ch, 1), QImage::Format_RGB32);
    w.surface.fill(Qt::white);
    if (!old.isNull()) {
      QPainter p(&w.surface);
      p.drawImage(0, 0, old);
    }
  }
  HostWidget* widget = WidgetOf(w);
  widget->move(w.rect.left, w.rect.top);
  widget->FitClient(cw, ch);
  widget->update();
}

int32_t ClientSizeParam(const HostWindow& w) {
  int32_t cw = 0, ch = 0;
  ClientOf(w, cw, ch);
  return PointParam(cw, ch);
}

void SendSizeMessages(HostWindow& w, bool sized, bool moved, uint32_t size_kind) {
  uint32_t handle = w.handle;
  if (sized) {
    SendMessage(handle, kWmGetMinMaxInfo, 0, 0);
    if (HostWindow* still = FindHostWindow(handle)) {
      InvalidateWindow(handle);
      SendMessage(handle, kWmSize, size_kind, size_kind == kSizeMinimized ? 0 : ClientSizeParam(*still));
    }
  }
  if (moved && FindHostWindow(handle) != nullptr) {
    FrameMetrics f = FrameOf(w.spec.style, w.spec.menu_bar);
    SendMessage(handle, kWmMove, 0, PointParam(w.rect.left + f.border, w.rect.top + f.border + f.caption + f.menu));
  }
}

void Restack(uint32_t window, int32_t insert_after) {
  auto it = std::find(g_windows.begin(), g_windows.end(), window);
  if (it == g_windows.end()) return;
  g_windows.erase(it);
  if (insert_after == kHwndBottom) {
    g_windows.push_back(window);
    return;
  }
  auto after = std::find(g_windows.begin(), g_windows.end(), static_cast<uint32_t>(insert_after));
  if (insert_after > 1 && after != g_windows.end()) g_windows.insert(after + 1, window);
  else g_windows.insert(g_windows.begin(), window);
}

}  // namespace

FrameMetrics FrameOf(uint32_t style, bool has_menu) {
  bool popup = (style & kWsPopup) != 0;
  bool framed = (style & (kWsThickFrame | kWsCaption | kWsSysMenu | kWsMinimizeBox | kWsMaximizeBox)) != 0;
  FrameMetrics f{0, 0, has_menu ? kMenuHeight : 0};
  if (popup && !framed) return f;
  f.border = (style & kWsThickFrame) != 0 ? kSizingBorder : kFixedBorder;
  if (!popup || (style & kWsCaption) == kWsCaption) f.caption = kCaptionHeight;
  return f;
}

HostWindow* FindHostWindow(uint32_t handle) {
  if (handle == g_desktop) return nullptr;
  return static_cast<HostWindow*>(FindHandle(handle, HandleKind::Window));
}

void SurfaceChanged(HostWindow& window) {
  if (window.widget != nullptr) window.widget->update();
}

uint32_t CreateWindow(const WindowSpec& spec) {
  EnsureGuiApplication();
  auto* w = new HostWindow;
  w->spec = spec;
  w->rect = Rect{spec.x, spec.y, spec.x + spec.width, spec.y + spec.height};
  w->normal_rect = w->rect;
  uint32_t handle = NewHandle(HandleKind::Window, w);
  w->handle = handle;
  auto* widget = new HostWidget(handle);
  w->widget = widget;
  widget->setWindowTitle(ToQt(spec.title));
  if (spec.menu_bar) widget->AddLeerMenu();
  if ((spec.style & kWsPopup) != 0) widget->setWindowFlag(Qt::FramelessWindowHint, FrameOf(spec.style, false).caption == 0);
  ApplyGeometry(*w);
  w->context = NewWindowContext(handle);
  g_windows.insert(g_windows.begin(), handle);
  if (spec.main) {
    g_main = handle;
    RegisterSnapshot();
  }
  SetWindowProcedure(handle, spec.procedure);
  SendMessage(handle, kWmGetMinMaxInfo, 0, 0);
  SendMessage(handle, kWmCreate, 0, 0);
  if (HostWindow* still = FindHostWindow(handle)) SendSizeMessages(*still, true, true, kSizeRestored);
  return handle;
}

void DestroyWindow(uint32_t window) {
  HostWindow* w = FindHostWindow(window);
  if (w == nullptr) return;
  SendMessage(window, kWmDestroy, 0, 0);
  w = FindHostWindow(window);
  if (w == nullptr) return;
  if (window == g_main) {
    g_last_main_picture = w->surface;
    g_main = 0;
  }
  if (g_focus == window) g_focus = 0;
  std::erase(g_windows, window);
  SetWindowProcedure(window, nullptr);
  ForgetWindowMessages(window);
  DeleteContext(w->context);
  w->widget->hide();
  w->widget->deleteLater();
  ReleaseHandle(window);
  delete w;
}

bool IsWindow(uint32_t window) { return FindHostWindow(window) != nullptr || (window != 0 && window == g_desktop); }

uint32_t MainHostWindow() { return FindHostWindow(g_main) != nullptr ? g_main : 0; }

bool SetWindowPos(uint32_t window, int32_t insert_after, int32_t x, int32_t y, int32_t width, int32_t height,
                  uint32_t flags) {
  HostWindow* w = FindHostWindow(window);
  if (w == nullptr) return false;
  Rect old = w->rect;
  Rect r = old;
  if ((flags & kSwpNoMove) == 0) {
    r.right += x - r.left;
    r.bottom += y - r.top;
    r.left = x;
    r.top = y;
  }
  if ((flags & kSwpNoSize) == 0) {
    r.right = r.left + width;
    r.bottom = r.top + height;
  }
  w->rect = r;
  if (w->show_state != kSwShowMaximized && w->show_state != kSwShowMinimized) w->normal_rect = r;
  if ((flags & kSwpNoZOrder) == 0) {
    if (insert_after == kHwndTopMost || insert_after == kHwndNoTopMost) {
      bool topmost = insert_after == kHwndTopMost;
      if (topmost != w->topmost) {
        w->topmost = topmost;
        bool visible = w->widget->isVisible();
        w->widget->setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
        if (visible) w->widget->show();
      }
    }
    Restack(window, insert_after == kHwndTopMost || insert_after == kHwndNoTopMost ? kHwndTop : insert_after);
    if (insert_after == kHwndBottom) w->widget->lower();
    else w->widget->raise();
  }
  bool sized = r.right - r.left != old.right - old.left || r.bottom - r.top != old.bottom - old.top;
  bool moved = r.left != old.left || r.top != old.top;
  ApplyGeometry(*w);
  SendSizeMessages(*w, sized, moved, kSizeRestored);
  return true;
}

void ShowWindow(uint32_t window, int32_t command) {
  HostWindow* w = FindHostWindow(window);
  if (w == nullptr) return;
  int32_t before = w->show_state;
  if (command == kSwShowDefault) command = kSwShowNormal;
  if (command == kSwHide) {
    w->widget->hide();
    w->show_state = kSwHide;
    return;
  }
  w->show_state = command;
  Rect old = w->rect;
  uint32_t size_kind = kSizeRestored;
  if (command == kSwShowMaximized) {
    FrameMetrics f = FrameOf(w->spec.style, w->spec.menu_bar);
    DisplayInfo d = Display();
    w->rect = Rect{-f.border, -f.border, d.width + f.border, d.height + f.border};
    size_kind = kSizeMaximized;
  } else if (command == kSwShowMinimized) {
    size_kind = kSizeMinimized;
  } else {
    w->rect = w->normal_rect;
  }
  if (command == kSwShowMinimized) {
    w->widget->showMinimized();
  } else {
    ApplyGeometry(*w);
    w->widget->showNormal();
    w->widget->raise();
  }
  bool sized = before == kSwShowMinimized || command == kSwShowMinimized || w->rect.right - w->rect.left != old.right - old.left ||
               w->rect.bottom - w->rect.top != old.bottom - old.top;
  bool moved = w->rect.left != old.left || w->rect.top != old.top;
  if (before == kSwHide) InvalidateWindow(window);
  if (sized || moved) SendSizeMessages(*w, sized, moved, size_kind);
  if (before == kSwHide && command != kSwShowMinimized && FindHostWindow(window) != nullptr) {
    w->widget->activateWindow();
    SetFocus(window);
  }
}

bool IsTopMost(uint32_t window) {
  HostWindow* w = FindHostWindow(window);
  return w != nullptr && w->topmost;
}

void SetWindowText(uint32_t window, std::string_view cp1252) {
  HostWindow* w = FindHostWindow(window);
  if (w == nullptr) return;
  w->spec.title.assign(cp1252);
  w->widget->setWindowTitle(ToQt(cp1252));
}

std::string WindowText(uint32_t window) {
  HostWindow* w = FindHostWindow(window);
  return w != nullptr ? w->spec.title : std::string();
}

std::string WindowClassName(uint32_t window) {
  HostWindow* w = FindHostWindow(window);
  return w != nullptr ? w->spec.class_name : std::string();
}

Rect WindowRect(uint32_t window) {
  if (window != 0 && window == g_desktop) {
    DisplayInfo d = Display();
    return Rect{0, 0, d.width, d.height};
  }
  HostWindow* w = FindHostWindow(window);
  return w != nullptr ? w->rect : Rect{};
}

void ClientSize(uint32_t window, int32_t& width, int32_t& height) {
  width = height = 0;
  if (HostWindow* w = FindHostWindow(window)) ClientOf(*w, width, height);
}

void InvalidateWindow(uint32_t window) {
  if (HostWindow* w = FindHostWindow(window)) w->invalid = QRegion(w->surface.rect());
}

void UpdateWindow(uint32_t window) {
  HostWindow* w = FindHostWindow(window);
  if (w == nullptr || w->invalid.isEmpty() || w->show_state == kSwHide || w->show_state == kSwShowMinimized) return;
  SendMessage(window, kWmPaint, 0, 0);
}

void ScrollWindow(uint32_t window, int32_t dx, int32_t dy) {
  HostWindow* w = FindHostWindow(window);
  if (w == nullptr) return;
  QImage before = w->surface.copy();
  {
    QPainter p(&w->surface);
    p.drawImage(dx, dy, before);
  }
  QRegion uncovered = QRegion(w->surface.rect()).subtracted(QRegion(w->surface.rect().translated(dx, dy)));
  w->invalid += uncovered;
  SurfaceChanged(*w);
}

uint32_t WindowNeedingPaint() {
  for (uint32_t handle : g_windows) {
    HostWindow* w = FindHostWindow(handle);
    if (w != nullptr && !w->invalid.isEmpty() && w->show_state != kSwHide && w->show_state != kSwShowMinimized)
      return handle;
  }
  return 0;
}

void BeginPaint(uint32_t window) {
  HostWindow* w = FindHostWindow(window);
  if (w == nullptr) return;
  w->paint_clip = w->invalid;
  w->invalid = QRegion();
  w->painting = true;
}

void EndPaint(uint32_t window) {
  HostWindow* w = FindHostWindow(window);
  if (w == nullptr) return;
  w->painting = false;
  w->paint_clip = QRegion();
}

uint32_t GetFocus() { return FindHostWindow(g_focus) != nullptr ? g_focus : 0; }

void SetFocus(uint32_t window) {
  if (window != 0 && FindHostWindow(window) == nullptr) return;
  uint32_t previous = GetFocus();
  if (previous == window) return;
  g_focus = window;
  if (previous != 0) SendMessage(previous, kWmKillFocus, window, 0);
  if (window != 0) SendMessage(window, kWmSetFocus, previous, 0);
}

uint32_t NextWindow(uint32_t window) {
  auto it = std::find(g_windows.begin(), g_windows.end(), window);
  if (it == g_windows.end() || it + 1 == g_windows.end()) return 0;
  return *(it + 1);
}

uint32_t DesktopWindow() {
  if (g_desktop == 0) g_desktop = NewHandle(HandleKind::Window, &g_desktop_marker);
  return g_desktop;
}

int32_t DefWindowProc(const Message& m) {
  switch (m.number) {
    case kWmSysCommand:
      if ((m.wparam & 0xFFF0u) == kScClose) SendMessage(m.window, kWmClose, 0, 0);
      return 0;
    case kWmSysKeyDown:
      if (m.wparam == kVkF4 && (static_cast<uint32_t>(m.lparam) & 0x20000000u) != 0)
        PostMessage(Message{m.window, kWmSysCommand, kScClose, 0});
      return 0;
    case kWmClose:
      DestroyWindow(m.window);
      return 0;
    case kWmPaint:
      BeginPaint(m.window);
      EndPaint(m.window);
      return 0;
    default:
      return 0;
  }
}

int32_t DisplayWidth() { return Display().width; }
int32_t DisplayHeight() { return Display().height; }
int32_t DisplayBitsPerPixel() { return Display().bits; }

void MessageBeep() {
  LogEvent("{\"event\":\"beep\"}");
  if (!IsHeadless() && GuiApplicationExists()) QApplication::beep();
}

void SetArrowCursor(uint32_t window) {
  if (HostWindow* w = FindHostWindow(window)) w->widget->setCursor(Qt::ArrowCursor);
}

}  // namespace morven::platform
