// Draws Velmoranta's window icon, button glyphs and thermometer pictures and writes them as
// PNG files into the folder named first on the command line; a second folder gets the
// desktop's larger icons drawn from the window icon's design, and an SVG of it where QtSvg
// is at hand.
//
// The program's pictures are drawn without antialiasing from the classic 16-colour desktop
// palette (the thermometers add a few shades), so each stays crisp and is stored as a small
// palette image with one fully transparent entry.

#include <QDir>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <QString>
#ifdef MAKE_PICTURES_SVG
#include <QSvgGenerator>
#endif

#include <cstdio>
#include <functional>
#include <vector>

namespace {

// The 16 colours of the classic desktop palette.
constexpr QRgb Black = 0xff000000;
constexpr QRgb Maroon = 0xff800000;
constexpr QRgb Green = 0xff008000;
constexpr QRgb Olive = 0xff808000;
constexpr QRgb Navy = 0xff000080;
constexpr QRgb Teal = 0xff008080;
constexpr QRgb Grey = 0xff808080;
constexpr QRgb Silver = 0xffc0c0c0;
constexpr QRgb Red = 0xffff0000;
constexpr QRgb Lime = 0xff00ff00;
constexpr QRgb Yellow = 0xffffff00;
constexpr QRgb Blue = 0xff0000ff;
constexpr QRgb White = 0xffffffff;

// Extra shades for the two large thermometers only.
constexpr QRgb Glass = 0xffe8f4ff;
constexpr QRgb GlassShade = 0xffa8c0d8;
constexpr QRgb DarkGrey = 0xff404040;
constexpr QRgb LightGrey = 0xffe0e0e0; // lighter than the button face it stands on

// All button glyphs share one size so that the captions line up on the buttons.
constexpr int Glyph = 16;

/// Pixel-exact drawing on a transparent image: pen and brush colours are set per call, and
/// coordinates name pixels, as in the classic desktop drawing calls.
class Canvas {
public:
    explicit Canvas(QPaintDevice& device) : painter_(&device) {
        painter_.setRenderHint(QPainter::Antialiasing, false);
    }

    /// The same drawing, smoothed, at `scale` device units a picture pixel: for icons larger
    /// than the picture was designed at, and for vector output.
    Canvas(QPaintDevice& device, double scale) : painter_(&device), smooth_(true) {
        painter_.setRenderHint(QPainter::Antialiasing, true);
        painter_.scale(scale, scale);
        // Nothing here writes text; a sized font keeps a vector file's font attributes valid.
        painter_.setFont(QFont(QStringLiteral("sans-serif"), 8));
    }

    void Pixel(int x, int y, QRgb c) { painter_.fillRect(x, y, 1, 1, QColor::fromRgba(c)); }

    /// Fills the pixels x..x+w-1, y..y+h-1.
    void Fill(int x, int y, int w, int h, QRgb c) {
        painter_.fillRect(x, y, w, h, QColor::fromRgba(c));
    }

    /// A one-pixel line including both end pixels.
    void Line(int x1, int y1, int x2, int y2, QRgb c) {
        painter_.setPen(QPen(QColor::fromRgba(c), 1, Qt::SolidLine, Qt::SquareCap));
        painter_.drawLine(Centre(x1, y1), Centre(x2, y2));
    }

    /// Outline through the pixels x..x+w-1, y..y+h-1; filled inside unless fill is 0.
    void Box(int x, int y, int w, int h, QRgb outline, QRgb fill = 0) {
        if (fill != 0)
            Fill(x, y, w, h, fill);
        painter_.setPen(QPen(QColor::fromRgba(outline), 1));
        painter_.setBrush(Qt::NoBrush);
        painter_.drawRect(QRectF(Centre(x, y), QSizeF(w - 1, h - 1)));
    }

    /// A polygon through the given pixels, filled inside unless fill is 0.
    void Polygon(const QPolygon& points, QRgb outline, QRgb fill = 0) {
        painter_.setPen(QPen(QColor::fromRgba(outline), 1));
        painter_.setBrush(fill != 0 ? QBrush(QColor::fromRgba(fill)) : QBrush(Qt::NoBrush));
        painter_.drawPolygon(QPolygonF(points).translated(Centre(0, 0)));
    }

    /// A filled polygon without outline, edges on pixel boundaries.
    void Solid(const QPolygon& points, QRgb fill) {
        painter_.setPen(Qt::NoPen);
        painter_.setBrush(QColor::fromRgba(fill));
        painter_.drawPolygon(points);
    }

    /// An ellipse through the pixels x..x+w-1, y..y+h-1, filled inside unless fill is 0.
    void Ellipse(int x, int y, int w, int h, QRgb outline, QRgb fill = 0) {
        painter_.setPen(outline != 0 ? QPen(QColor::fromRgba(outline), 1) : QPen(Qt::NoPen));
        painter_.setBrush(fill != 0 ? QBrush(QColor::fromRgba(fill)) : QBrush(Qt::NoBrush));
        painter_.drawEllipse(QRectF(Centre(x, y), QSizeF(w - 1, h - 1)));
    }

    /// An arc of the circle of radius r around (cx, cy), angles in degrees counter-clockwise
    /// from three o'clock.
    void Arc(int cx, int cy, int r, int from, int span, QRgb c, int width = 1) {
        painter_.setPen(QPen(QColor::fromRgba(c), width, Qt::SolidLine, Qt::FlatCap));
        painter_.setBrush(Qt::NoBrush);
        painter_.drawArc(cx - r, cy - r, 2 * r, 2 * r, from * 16, span * 16);
    }

    /// A ")" shaped sound wave `height` rows high whose middle stands at column x: each row
    /// falls back to the left with the square of its distance from the middle.
    void Wave(int x, int top, int height, QRgb c, int width = 1) {
        const double half = (height - 1) / 2.0;
        const double depth = height / 5.0;
        if (smooth_) {
            // The curve the rows step along, through their middles.
            QPainterPath path;
            for (int step = 0; step <= 4 * height; ++step) {
                const double t = 2.0 * step / (4 * height) - 1;
                const QPointF point(x - depth * t * t + width / 2.0, top + half + t * half + 0.5);
                step == 0 ? path.moveTo(point) : path.lineTo(point);
            }
            painter_.setPen(QPen(QColor::fromRgba(c), width, Qt::SolidLine, Qt::RoundCap));
            painter_.setBrush(Qt::NoBrush);
            painter_.drawPath(path);
            return;
        }
        for (int row = 0; row < height; ++row) {
            const double t = (row - half) / half;
            Fill(x - qRound(depth * t * t), top + row, width, 1, c);
        }
    }

private:
    /// Where a stroke through pixel (x, y) runs: the pixel-exact painter already puts a
    /// one-pixel pen on the pixel, the smooth one needs its centre.
    QPointF Centre(int x, int y) const {
        return smooth_ ? QPointF(x + 0.5, y + 0.5) : QPointF(x, y);
    }

    QPainter painter_;
    bool smooth_ = false;
};

/// Paints every transparent pixel that touches an opaque one (sideways or diagonally) in
/// the given colour: an outline that keeps a light glyph readable on any button face.
void Outline(QImage& image, QRgb colour) {
    const QImage source = image.copy();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(source.pixel(x, y)) != 0)
                continue;
            bool touches = false;
            for (int dy = -1; dy <= 1 && !touches; ++dy)
                for (int dx = -1; dx <= 1 && !touches; ++dx)
                    touches =
                        source.valid(x + dx, y + dy) && qAlpha(source.pixel(x + dx, y + dy)) != 0;
            if (touches)
                image.setPixel(x, y, colour);
        }
    }
}

/// The disabled look of the classic desktop: the glyph's shape in grey over a white copy
/// one pixel down and to the right.
QImage Greyed(const QImage& glyph) {
    QImage result(glyph.size(), QImage::Format_ARGB32);
    result.fill(Qt::transparent);
    for (int y = 0; y < glyph.height(); ++y)
        for (int x = 0; x < glyph.width(); ++x)
            if (qAlpha(glyph.pixel(x, y)) != 0 && result.valid(x + 1, y + 1))
                result.setPixel(x + 1, y + 1, White);
    for (int y = 0; y < glyph.height(); ++y)
        for (int x = 0; x < glyph.width(); ++x)
            if (qAlpha(glyph.pixel(x, y)) != 0)
                result.setPixel(x, y, Grey);
    return result;
}

/// Stores the picture as a palette image of exactly the colours it uses, all transparent
/// pixels sharing one entry. Returns the number of colours, or 0 when more than `limit`.
int ToPalette(const QImage& image, int limit, QImage& out) {
    QList<QRgb> table{qRgba(0, 0, 0, 0)};
    out = QImage(image.size(), QImage::Format_Indexed8);
    out.setColorCount(limit);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            QRgb c = image.pixel(x, y);
            if (qAlpha(c) == 0)
                c = qRgba(0, 0, 0, 0);
            else if (qAlpha(c) != 255)
                return 0; // antialiasing slipped in
            qsizetype index = table.indexOf(c);
            if (index < 0) {
                if (table.size() == limit)
                    return 0;
                table.append(c);
                index = table.size() - 1;
            }
            out.setPixel(x, y, uint(index));
        }
    }
    out.setColorTable(table);
    return int(table.size());
}

// ---------------------------------------------------------------------------------------
// The pictures. Each draws on a transparent image of its own size.

/// Window icon: a thermometer with a red column, a few scale marks and a sound wave.
void DrawIcon(Canvas& c) {
    // Scale marks left of the tube.
    for (int y = 4; y <= 19; y += 3)
        c.Line(y % 2 == 0 ? 5 : 6, y, 8, y, Black);
    // Tube with a rounded top, then the bulb over its lower end.
    c.Ellipse(10, 1, 8, 8, Black, White);
    c.Fill(11, 5, 6, 18, White);
    c.Line(10, 5, 10, 21, Black);
    c.Line(17, 5, 17, 21, Black);
    // The bulb is lit from the upper left: a darker rim shows lower right.
    c.Ellipse(7, 17, 14, 14, Black, Maroon);
    c.Ellipse(8, 18, 12, 12, 0, Red);
    c.Fill(12, 9, 4, 12, Red);
    c.Line(15, 9, 15, 20, Maroon);
    c.Line(12, 9, 15, 9, Maroon);
    c.Line(11, 3, 11, 20, Silver);
    c.Fill(10, 21, 2, 2, White);
    // Sound waves leaving the thermometer.
    c.Wave(21, 7, 6, Blue);
    c.Wave(24, 4, 12, Blue);
    c.Wave(27, 1, 18, Navy);
}

/// "Inicio": a ruled notebook with a pencil across it.
void DrawInicio(QImage& image) {
    Canvas c(image);
    c.Box(2, 1, 10, 14, Black, White);
    c.Line(4, 2, 4, 13, Red); // margin
    for (int y = 4; y <= 13; y += 3)
        c.Line(5, y, 10, y, Blue);
    for (int y = 2; y <= 13; y += 2) // spiral binding
        c.Line(1, y, 3, y, Black);
    // Pencil lying from the right edge down to its point at the lower left: each row
    // holds an edge, two lit pixels, a shaded one and the other edge.
    for (int r = 0; r < 7; ++r) {
        const int x = 11 - r;
        const int y = 4 + r;
        const bool eraser = r < 2;
        c.Pixel(x, y, Black);
        c.Pixel(x + 1, y, eraser ? Red : Yellow);
        c.Pixel(x + 2, y, eraser ? Red : Yellow);
        c.Pixel(x + 3, y, eraser ? Maroon : Olive);
        c.Pixel(x + 4, y, Black);
    }
    c.Line(12, 3, 14, 3, Black);
    c.Pixel(15, 4, Black);
    c.Line(12, 5, 15, 5, Silver); // metal band round the eraser
    // Sharpened wood and the lead.
    c.Line(3, 11, 6, 11, Black);
    c.Pixel(4, 11, Silver);
    c.Pixel(5, 11, Silver);
    c.Line(3, 12, 5, 12, Black);
    c.Pixel(4, 12, Silver);
    c.Line(2, 13, 4, 13, Black);
    c.Pixel(2, 14, Black);
}

/// "Pausa": a red stop sign.
void DrawPausa(QImage& image) {
    Canvas c(image);
    const QPolygon outer{{5, 0}, {10, 0}, {15, 5}, {15, 10}, {10, 15}, {5, 15}, {0, 10}, {0, 5}};
    const QPolygon inner{{5, 1}, {10, 1}, {14, 5}, {14, 10}, {10, 14}, {5, 14}, {1, 10}, {1, 5}};
    const QPolygon face{{6, 2}, {9, 2}, {13, 6}, {13, 9}, {9, 13}, {6, 13}, {2, 9}, {2, 6}};
    c.Polygon(outer, Maroon, Maroon);
    c.Polygon(inner, White, White);
    c.Polygon(face, Red, Red);
}

/// "Salir": a door standing open with an arrow going out through it.
void DrawSalir(QImage& image) {
    Canvas c(image);
    c.Box(6, 0, 9, 16, Black, Navy); // frame and the dark room beyond
    c.Fill(7, 1, 7, 14, Navy);
    // The door leaf, hinged on the frame's left post and swung towards us.
    const QPolygon leaf{{6, 0}, {2, 2}, {2, 15}, {6, 15}};
    c.Polygon(leaf, Black, Olive);
    c.Line(3, 3, 3, 14, Yellow);
    c.Pixel(5, 8, Yellow); // knob
    // Arrow leaving the room to the right.
    c.Fill(8, 7, 5, 3, Lime);
    const QPolygon head{{12, 4}, {15, 8}, {12, 12}};
    c.Polygon(head, Green, Lime);
    c.Line(8, 7, 12, 7, Green);
    c.Line(8, 9, 12, 9, Green);
}

/// A sheet of paper with a folded corner, its top-left pixel at (x, y).
void Sheet(Canvas& c, int x, int y, int w, int h, bool lines) {
    const QPolygon shape{
        {x, y}, {x + w - 4, y}, {x + w - 1, y + 3}, {x + w - 1, y + h - 1}, {x, y + h - 1}};
    c.Polygon(shape, Black, White);
    c.Line(x + w - 4, y, x + w - 4, y + 3, Black);
    c.Line(x + w - 4, y + 3, x + w - 1, y + 3, Black);
    c.Pixel(x + w - 3, y + 1, Silver);
    c.Line(x + w - 3, y + 2, x + w - 2, y + 2, Silver);
    if (lines)
        for (int ly = y + 3; ly < y + h - 2; ly += 2)
            c.Line(x + 2, ly, x + w - (ly < y + 4 ? 6 : 3), ly, Grey);
}

/// "-----" (clipboard): two sheets and a green plus.
void DrawPortapapeles(QImage& image) {
    Canvas c(image);
    Sheet(c, 0, 0, 9, 11, true);
    Sheet(c, 4, 3, 9, 11, true);
    c.Fill(11, 8, 3, 8, Black);
    c.Fill(8, 11, 9, 3, Black);
    c.Fill(12, 9, 1, 6, Lime);
    c.Fill(9, 12, 7, 1, Lime);
}

/// "Abrir muestreo": a folder opening.
void DrawAbrir(QImage& image) {
    Canvas c(image);
    // Back of the folder with its tab.
    c.Polygon(QPolygon{{0, 3}, {1, 2}, {5, 2}, {6, 3}, {12, 3}, {12, 14}, {0, 14}}, Black, Olive);
    c.Line(1, 4, 11, 4, Yellow);
    // A sheet rising out of it.
    c.Polygon(QPolygon{{3, 1}, {10, 1}, {10, 8}, {3, 8}}, Black, White);
    c.Line(5, 3, 8, 3, Grey);
    c.Line(5, 5, 8, 5, Grey);
    // Front flap, tilted open towards us.
    c.Polygon(QPolygon{{0, 14}, {3, 7}, {15, 7}, {12, 14}}, Black, Yellow);
    c.Line(4, 8, 13, 8, White);
}

/// "Guardar muestreo": a sheet and a red arrow going into a disk.
void DrawGuardar(QImage& image) {
    Canvas c(image);
    Sheet(c, 0, 0, 7, 9, true);
    // Disk: dark body, white label, metal shutter.
    c.Polygon(QPolygon{{5, 6}, {14, 6}, {15, 7}, {15, 15}, {5, 15}}, Black, Navy);
    c.Fill(7, 7, 6, 4, White);
    c.Line(8, 8, 11, 8, Blue);
    c.Fill(8, 12, 5, 3, Silver);
    c.Fill(11, 13, 1, 2, Navy);
    // Arrow from the sheet's side down into the disk.
    c.Fill(11, 0, 3, 4, Red);
    c.Polygon(QPolygon{{9, 4}, {15, 4}, {12, 7}}, Maroon, Red);
    c.Line(10, 0, 10, 3, Maroon);
    c.Line(14, 0, 14, 3, Maroon);
}

/// "Borrar muestreo actual": a sheet struck through in red.
void DrawBorrar(QImage& image) {
    Canvas c(image);
    Sheet(c, 2, 0, 12, 16, true);
    for (int i = 0; i < 13; ++i) {
        c.Pixel(1 + i, 14 - i, Red);
        c.Pixel(2 + i, 14 - i, Red);
        c.Pixel(1 + i, 13 - i, Maroon);
    }
}

/// "Eliminar muestreo": a large black cross.
void DrawEliminar(QImage& image) {
    Canvas c(image);
    for (int i = 0; i < 12; ++i) {
        c.Fill(1 + i, 2 + i, 3, 1, Black);
        c.Fill(12 - i, 2 + i, 3, 1, Black);
    }
    // Heavier strokes where they meet keep the cross from looking thin.
    c.Fill(6, 6, 4, 4, Black);
}

/// The yellow question mark of "Información", without its outline.
void DrawQuestionMark(QImage& image) {
    Canvas c(image);
    c.Fill(5, 1, 5, 1, Yellow); // the hook
    c.Fill(4, 2, 7, 1, Yellow);
    c.Fill(3, 3, 3, 2, Yellow);
    c.Fill(9, 3, 3, 3, Yellow);
    c.Fill(8, 6, 3, 1, Yellow);
    c.Fill(7, 7, 3, 1, Yellow);
    c.Fill(6, 8, 3, 2, Yellow);  // the stem
    c.Fill(6, 11, 3, 3, Yellow); // the dot
}

/// "Información": the question mark outlined so that it shows on any button face.
void DrawInformacion(QImage& image) {
    DrawQuestionMark(image);
    Outline(image, Black);
}

/// The large thermometers of the sampling page and the two mean buttons: a glass
/// thermometer whose column has the channel's colour, and a loudspeaker. Everything that
/// matters stays in the top 84 rows, the part the page shows.
void DrawTermometro(QImage& image, QRgb column, QRgb columnLight, QRgb columnDark) {
    Canvas c(image);
    // Tube with a rounded top.
    c.Ellipse(8, 2, 12, 12, Black, Glass);
    c.Fill(9, 8, 10, 50, Glass);
    c.Line(8, 8, 8, 58, Black);
    c.Line(19, 8, 19, 58, Black);
    c.Line(16, 6, 16, 58, GlassShade);
    c.Line(17, 8, 17, 58, GlassShade);
    // Bulb at the bottom, over the end of the tube, lit from the upper left.
    c.Ellipse(3, 54, 22, 22, Black, columnDark);
    c.Ellipse(4, 55, 19, 19, 0, column);
    // The column.
    c.Fill(11, 24, 6, 36, column);
    c.Line(11, 24, 11, 60, columnLight);
    c.Line(16, 24, 16, 59, columnDark);
    c.Line(11, 24, 16, 24, columnDark);
    c.Fill(8, 60, 3, 3, columnLight);
    c.Line(9, 59, 9, 63, columnLight);
    c.Line(7, 61, 11, 61, columnLight);
    c.Line(10, 8, 10, 22, White);
    // Scale: a mark every 2 degrees, longer every 10.
    for (int k = 0; k <= 11; ++k) {
        const int y = 12 + 4 * k;
        c.Line(20, y, k % 5 == 0 ? 25 : 23, y, Black);
    }
    // Loudspeaker right of the scale: magnet, cone and two sound waves.
    c.Box(27, 24, 5, 14, Black, DarkGrey);
    c.Polygon(QPolygon{{31, 24}, {39, 15}, {39, 46}, {31, 37}}, Black, LightGrey);
    c.Line(33, 25, 37, 20, White);
    c.Wave(43, 26, 11, Black, 2);
    c.Wave(47, 19, 25, Black, 2);
}

struct Picture {
    const char* file;
    int width;
    int height;
    int colours; // at most, transparent included
    std::function<void(QImage&)> draw;
};

} // namespace

bool MakeFolder(const QDir& folder) {
    if (folder.exists() || QDir().mkpath(folder.path()))
        return true;
    std::fprintf(stderr, "cannot create %s\n", qPrintable(folder.path()));
    return false;
}

/// The desktop's icons: the window icon's design smoothed at each size the menus ask for
/// (32 pixels is the window icon itself), and as SVG where QtSvg is at hand.
int WriteDesktopIcons(const QDir& folder) {
    int failures = 0;
    for (const int size : {48, 64, 128, 256}) {
        QImage image(size, size, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        {
            Canvas c(image, size / 32.0);
            DrawIcon(c);
        }
        const QString path = folder.filePath(QStringLiteral("icon-%1.png").arg(size));
        if (!image.save(path, "PNG")) {
            std::fprintf(stderr, "%s: cannot write\n", qPrintable(path));
            ++failures;
        } else {
            std::printf("%s: %d x %d\n", qPrintable(path), size, size);
        }
    }
#ifdef MAKE_PICTURES_SVG
    const QString path = folder.filePath(QStringLiteral("icon.svg"));
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(QSize(32, 32));
    svg.setViewBox(QRect(0, 0, 32, 32));
    svg.setTitle(QStringLiteral("Velmoranta"));
    {
        Canvas c(svg, 1);
        DrawIcon(c);
    }
    std::printf("%s: scalable\n", qPrintable(path));
#endif
    return failures;
}

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s OUTPUT-FOLDER [DESKTOP-ICON-FOLDER]\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!MakeFolder(folder))
        return 1;

    const std::vector<Picture> pictures{
        {"icon.png", 32, 32, 16,
         [](QImage& image) {
             Canvas c(image);
             DrawIcon(c);
         }},
        {"inicio.png", Glyph, Glyph, 16, DrawInicio},
        {"pausa.png", Glyph, Glyph, 16, DrawPausa},
        {"salir.png", Glyph, Glyph, 16, DrawSalir},
        {"portapapeles.png", Glyph, Glyph, 16, DrawPortapapeles},
        {"abrir.png", Glyph, Glyph, 16, DrawAbrir},
        {"guardar.png", Glyph, Glyph, 16, DrawGuardar},
        {"borrar.png", Glyph, Glyph, 16, DrawBorrar},
        {"eliminar.png", Glyph, Glyph, 16, DrawEliminar},
        {"informacion.png", Glyph, Glyph, 16, DrawInformacion},
        {"informacion_disabled.png", Glyph, Glyph, 16,
         [](QImage& image) {
             DrawQuestionMark(image);
             image = Greyed(image);
         }},
        {"termometro_amarillo.png", 50, 91, 256,
         [](QImage& image) { DrawTermometro(image, Yellow, 0xffffff99, 0xffb0b000); }},
        {"termometro_verde.png", 50, 91, 256,
         [](QImage& image) { DrawTermometro(image, Lime, 0xff99ff99, 0xff00a000); }},
    };

    int failures = 0;
    for (const Picture& picture : pictures) {
        QImage image(picture.width, picture.height, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        picture.draw(image);
        QImage indexed;
        const int used = ToPalette(image, picture.colours, indexed);
        const QString path = folder.filePath(QString::fromLatin1(picture.file));
        if (used == 0) {
            std::fprintf(stderr, "%s: more than %d colours\n", picture.file, picture.colours);
            ++failures;
        } else if (!indexed.save(path, "PNG")) {
            std::fprintf(stderr, "%s: cannot write\n", qPrintable(path));
            ++failures;
        } else {
            std::printf("%s: %d x %d, %d colours\n", qPrintable(path), picture.width,
                        picture.height, used);
        }
    }
    if (argc == 3) {
        const QDir icons(QString::fromLocal8Bit(argv[2]));
        failures += MakeFolder(icons) ? WriteDesktopIcons(icons) : 1;
    }
    return failures == 0 ? 0 : 1;
}
