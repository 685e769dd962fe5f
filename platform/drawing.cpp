#include "platform/drawing.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>
#include <array>
#include <cstdlib>

#include "platform/box_glyphs.h"
#include "platform/codepage.h"
#include "platform/gui_app.h"
#include "platform/handles.h"
#include "platform/host_objects.h"

namespace morven::platform {
namespace {

struct Bitmap {
  QImage image;
};

struct Brush {
  bool stock = false;
  uint32_t colour = 0xFFFFFF;
};

// A stock font of the text screen: a fixed-pitch face drawn into cells of a fixed
// size, so the metrics a program measures are the same on every host.
struct FontFace {
  StockFont id;
  int pixel_size;
  int32_t cell_width;
  int32_t cell_height;
  bool oem;  // code page 850 instead of Windows-1252
};
constexpr std::array<FontFace, 3> kFaces = {{
    {StockFont::AnsiFixed, 11, 8, 13, false},
    {StockFont::OemFixed, 10, 8, 12, true},
    {StockFont::SystemFixed, 13, 8, 15, false},
}};

struct Font {
  const FontFace* face;
  QFont qfont;
  int ascent = 0;
};

struct Context {
  uint32_t window = 0;  // a window's own context, else a memory context
  uint32_t bitmap = 0;
  uint32_t font = 0;
  uint32_t brush = 0;
  uint32_t text_colour = 0x000000;
  uint32_t bk_colour = 0xFFFFFF;
  bool opaque = true;
  int32_t stretch_mode = 1;
  bool mapped = false;
  int32_t wx = 1, wy = 1, vx = 1, vy = 1;
};

std::array<uint32_t, 3> g_stock_fonts{};
uint32_t g_white_brush = 0;

constexpr const char* kFontFiles[] = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf",
};
constexpr const char* kFontFamily = "DejaVu Sans Mono";

QString FontFamily() {
  static QString family = [] {
    for (const char* path : kFontFiles) {
      if (!QFile::exists(path)) continue;
      int id = QFontDatabase::addApplicationFont(path);
      QStringList families = QFontDatabase::applicationFontFamilies(id);
      if (!families.isEmpty()) return families.front();
    }
    return QString(kFontFamily);
  }();
  return family;
}

Font* FontOf(uint32_t handle) { return static_cast<Font*>(FindHandle(handle, HandleKind::Font)); }
Context* ContextOf(uint32_t handle) { return static_cast<Context*>(FindHandle(handle, HandleKind::Context)); }
Bitmap* BitmapOf(uint32_t handle) { return static_cast<Bitmap*>(FindHandle(handle, HandleKind::Bitmap)); }
Brush* BrushOf(uint32_t handle) { return static_cast<Brush*>(FindHandle(handle, HandleKind::Brush)); }

QColor ToQColor(uint32_t c) { return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF)); }

// The picture a context draws on, with the limit of a paint in progress.
struct Target {
  QImage* image = nullptr;
  HostWindow* window = nullptr;
  const QRegion* clip = nullptr;
};

Target TargetOf(const Context& c) {
  Target t;
  if (c.window != 0) {
    HostWindow* w = FindHostWindow(c.window);
    if (w == nullptr) return t;
    t.window = w;
    t.image = &w->surface;
    if (w->painting) t.clip = &w->paint_clip;
  } else if (Bitmap* b = BitmapOf(c.bitmap)) {
    t.image = &b->image;
  }
  if (t.image != nullptr && t.image->isNull()) t.image = nullptr;
  return t;
}

QTransform MappingOf(const Context& c) {
  if (!c.mapped) return QTransform();
  return QTransform::fromScale(static_cast<double>(c.vx) / c.wx, static_cast<double>(c.vy) / c.wy);
}

void PreparePainter(QPainter& p, const Context& c, const Target& t) {
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setRenderHint(QPainter::TextAntialiasing, false);
  p.setRenderHint(QPainter::SmoothPixmapTransform, false);
  if (t.clip != nullptr) p.setClipRegion(*t.clip);
  p.setTransform(MappingOf(c));
}

void Finish(const Target& t) {
  if (t.window != nullptr) SurfaceChanged(*t.window);
}

const FontFace& FaceOf(const Context& c) {
  Font* f = FontOf(c.font);
  return f != nullptr ? *f->face : kFaces[2];
}

}  // namespace

uint32_t StockFontHandle(StockFont font) {
  size_t i = static_cast<size_t>(font);
  if (g_stock_fonts[i] == 0) {
    EnsureGuiApplication();
    auto* f = new Font{&kFaces[i], QFont(FontFamily()), 0};
    f->qfont.setPixelSize(kFaces[i].pixel_size);
    f->qfont.setStyleStrategy(static_cast<QFont::StyleStrategy>(QFont::NoAntialias | QFont::NoFontMerging));
    f->qfont.setHintingPreference(QFont::PreferFullHinting);
    f->qfont.setFixedPitch(true);
    f->ascent = QFontMetrics(f->qfont).ascent();
    g_stock_fonts[i] = NewHandle(HandleKind::Font, f);
  }
  return g_stock_fonts[i];
}

uint32_t StockWhiteBrush() {
  if (g_white_brush == 0) g_white_brush = NewHandle(HandleKind::Brush, new Brush{true, 0xFFFFFF});
  return g_white_brush;
}

uint32_t NewWindowContext(uint32_t window) {
  auto* c = new Context;
  c->window = window;
  c->font = StockFontHandle(StockFont::SystemFixed);
  c->brush = StockWhiteBrush();
  return NewHandle(HandleKind::Context, c);
}

uint32_t WindowContext(uint32_t window) {
  HostWindow* w = FindHostWindow(window);
  return w != nullptr ? w->context : 0;
}

uint32_t CreateMemoryContext() {
  auto* c = new Context;
  c->font = StockFontHandle(StockFont::SystemFixed);
  c->brush = StockWhiteBrush();
  c->bitmap = CreateBitmap(1, 1);
  return NewHandle(HandleKind::Context, c);
}

uint32_t CreateBitmap(int32_t width, int32_t height) {
  auto* b = new Bitmap{QImage(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32)};
  b->image.fill(Qt::white);
  return NewHandle(HandleKind::Bitmap, b);
}

uint32_t SelectBitmap(uint32_t context, uint32_t bitmap) {
  Context* c = ContextOf(context);
  if (c == nullptr || c->window != 0 || BitmapOf(bitmap) == nullptr) return 0;
  uint32_t previous = c->bitmap;
  c->bitmap = bitmap;
  return previous;
}

void DeleteContext(uint32_t context) {
  Context* c = ContextOf(context);
  if (c == nullptr) return;
  ReleaseHandle(context);
  delete c;
}

void DeleteObject(uint32_t object) {
  if (Bitmap* b = BitmapOf(object)) {
    ReleaseHandle(object);
    delete b;
  } else if (Brush* br = BrushOf(object); br != nullptr && !br->stock) {
    ReleaseHandle(object);
    delete br;
  }
  // Fonts here are stock fonts: deleting them has no effect.
}

uint32_t SelectFont(uint32_t context, uint32_t font) {
  Context* c = ContextOf(context);
  if (c == nullptr || FontOf(font) == nullptr) return 0;
  uint32_t previous = c->font;
  c->font = font;
  return previous;
}

TextMetrics GetTextMetrics(uint32_t context) {
  Context* c = ContextOf(context);
  const FontFace& face = c != nullptr ? FaceOf(*c) : kFaces[2];
  Font* f = c != nullptr ? FontOf(c->font) : nullptr;
  int32_t ascent = f != nullptr ? std::min(f->ascent, face.cell_height) : face.cell_height;
  return TextMetrics{face.cell_height, ascent, 0, face.cell_width, face.cell_width};
}

void SetTextColor(uint32_t context, uint32_t colour) {
  if (Context* c = ContextOf(context)) c->text_colour = colour & 0xFFFFFF;
}
void SetBkColor(uint32_t context, uint32_t colour) {
  if (Context* c = ContextOf(context)) c->bk_colour = colour & 0xFFFFFF;
}
void SetBkMode(uint32_t context, bool opaque) {
  if (Context* c = ContextOf(context)) c->opaque = opaque;
}
void SetStretchMode(uint32_t context, int32_t mode) {
  if (Context* c = ContextOf(context)) c->stretch_mode = mode;
}

void TextOut(uint32_t context, int32_t x, int32_t y, std::string_view bytes) {
  Context* c = ContextOf(context);
  if (c == nullptr || bytes.empty()) return;
  Target t = TargetOf(*c);
  if (t.image == nullptr) return;
  Font* font = FontOf(c->font);
  const FontFace& face = FaceOf(*c);
  QPainter p(t.image);
  PreparePainter(p, *c, t);
  if (font != nullptr) p.setFont(font->qfont);
  QColor fg = ToQColor(c->text_colour);
  p.setPen(fg);
  int baseline = y + (font != nullptr ? std::min(font->ascent, face.cell_height) : face.cell_height);
  for (size_t i = 0; i < bytes.size(); ++i) {
    int32_t cx = x + static_cast<int32_t>(i) * face.cell_width;
    if (c->opaque) p.fillRect(cx, y, face.cell_width, face.cell_height, ToQColor(c->bk_colour));
    auto byte = static_cast<uint8_t>(bytes[i]);
    char32_t code = face.oem ? OemFontCodePoint(byte) : Cp1252ToUnicode(byte);
    if (code < 0x20 || (code >= 0x7F && code < 0xA0)) continue;  // controls draw as blanks
    if (const BoxGlyph* box = FindBoxGlyph(code)) {
      for (const BoxStroke& s : BoxStrokes(*box, face.cell_width, face.cell_height)) {
        if (s.horizontal) p.fillRect(cx + s.from, y + s.at, s.to - s.from + 1, 1, fg);
        else p.fillRect(cx + s.at, y + s.from, 1, s.to - s.from + 1, fg);
      }
      continue;
    }
    if (code == ' ' || code == 0xA0) continue;
    QString text = code > 0xFFFF ? QString::fromUcs4(&code, 1) : QString(QChar(static_cast<char16_t>(code)));
    p.drawText(cx, baseline, text);
  }
  p.end();
  Finish(t);
}

uint32_t CreateSolidBrush(uint32_t colour) { return NewHandle(HandleKind::Brush, new Brush{false, colour & 0xFFFFFF}); }

uint32_t SelectBrush(uint32_t context, uint32_t brush) {
  Context* c = ContextOf(context);
  if (c == nullptr || BrushOf(brush) == nullptr) return 0;
  uint32_t previous = c->brush;
  c->brush = brush;
  return previous;
}

void PatBlt(uint32_t context, int32_t x, int32_t y, int32_t width, int32_t height) {
  Context* c = ContextOf(context);
  if (c == nullptr) return;
  Brush* brush = BrushOf(c->brush);
  Target t = TargetOf(*c);
  if (t.image == nullptr || brush == nullptr) return;
  QPainter p(t.image);
  PreparePainter(p, *c, t);
  p.fillRect(QRect(x, y, width, height).normalized(), ToQColor(brush->colour));
  p.end();
  Finish(t);
}

void BitBlt(uint32_t target, int32_t x, int32_t y, int32_t width, int32_t height, uint32_t source, int32_t sx,
            int32_t sy) {
  Context* dc = ContextOf(target);
  Context* sc = ContextOf(source);
  if (dc == nullptr || sc == nullptr) return;
  Target dt = TargetOf(*dc);
  Target st = TargetOf(*sc);
  if (dt.image == nullptr || st.image == nullptr) return;
  // The source rectangle in the source's pixels, drawn into the target's mapping.
  QRectF from = MappingOf(*sc).mapRect(QRectF(sx, sy, width, height));
  QImage same_picture;
  const QImage* picture = st.image;
  if (st.image == dt.image) picture = &(same_picture = st.image->copy());
  QPainter p(dt.image);
  PreparePainter(p, *dc, dt);
  p.drawImage(QRectF(x, y, width, height), *picture, from);
  p.end();
  Finish(dt);
}

void SetAnisotropicMapping(uint32_t context, int32_t wx, int32_t wy, int32_t vx, int32_t vy) {
  Context* c = ContextOf(context);
  if (c == nullptr) return;
  // A zero extent is refused by the system; the mapping then stays as it was.
  if (wx == 0 || wy == 0 || vx == 0 || vy == 0) return;
  c->mapped = true;
  c->wx = wx;
  c->wy = wy;
  c->vx = vx;
  c->vy = vy;
}

int64_t PixelAt(uint32_t context, int32_t x, int32_t y) {
  Context* c = ContextOf(context);
  if (c == nullptr) return -1;
  Target t = TargetOf(*c);
  if (t.image == nullptr || !t.image->rect().contains(x, y)) return -1;
  QRgb rgb = t.image->pixel(x, y);
  return static_cast<int64_t>(qRed(rgb) | (qGreen(rgb) << 8) | (qBlue(rgb) << 16));
}

}  // namespace morven::platform
