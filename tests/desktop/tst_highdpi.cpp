// SPDX-FileCopyrightText: 2026 The Model Railway Panel authors
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The window on a screen of twice the density: the same layout in logical
// pixels, pictures rendered sharp from their SVG sources, and every caption
// still fitting its control.

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTest>

#include <memory>

#include "window/frame.h"
#include "window/main.h"
#include "windowkit.h"

using namespace Qt::StringLiterals;

namespace {

constexpr qreal kScale = 2.0;

using TestKit::pixels;

QImage renderSvg(const QString &fileName, QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    QSvgRenderer(fileName).render(&painter, QRectF(image.rect()));
    return image;
}

// Mean difference per colour channel between `picture` and the part of
// `screen` it covers when placed at `at`.
double meanDifference(const QImage &screen, const QImage &picture, QPoint at)
{
    const QImage a = screen.convertToFormat(QImage::Format_RGB32);
    const QImage b = picture.convertToFormat(QImage::Format_RGB32);
    qint64 total = 0;
    for (int y = 0; y < b.height(); ++y) {
        for (int x = 0; x < b.width(); ++x) {
            const QRgb p = a.pixel(at.x() + x, at.y() + y);
            const QRgb q = b.pixel(x, y);
            total += qAbs(qRed(p) - qRed(q)) + qAbs(qGreen(p) - qGreen(q)) + qAbs(qBlue(p) - qBlue(q));
        }
    }
    return double(total) / (3.0 * b.width() * b.height());
}

// The placement of `picture` within `area` of `screen` that matches best.
std::pair<QPoint, double> bestMatch(const QImage &screen, const QImage &picture, QRect area)
{
    std::pair<QPoint, double> best{QPoint(), 1e9};
    for (int y = area.top(); y + picture.height() <= area.bottom() + 1; ++y) {
        for (int x = area.left(); x + picture.width() <= area.right() + 1; ++x) {
            const double difference = meanDifference(screen, picture, QPoint(x, y));
            if (difference < best.second)
                best = {QPoint(x, y), difference};
        }
    }
    return best;
}

QRect deviceRect(const QWidget *control, const QWidget *window)
{
    const QRect logical(control->mapTo(window, QPoint(0, 0)), control->size());
    return QRect(logical.topLeft() * kScale, logical.size() * kScale);
}

} // namespace

class TestHighDpi : public QObject
{
    Q_OBJECT

public:
    // Runs before the application exists, so the scale applies to every screen.
    static void initMain() { qputenv("QT_SCALE_FACTOR", "2"); }

private slots:
    void init();
    void cleanup();

    void layoutKeepsItsLogicalGeometry_data();
    void layoutKeepsItsLogicalGeometry();
    void picturesAreRenderedFromTheirSources_data();
    void picturesAreRenderedFromTheirSources();
    void windowIconIsSharp();
    void captionsFit();

private:
    std::unique_ptr<Main> m_window;
};

void TestHighDpi::init()
{
    m_window = std::make_unique<Main>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestHighDpi::cleanup()
{
    m_window.reset();
}

void TestHighDpi::layoutKeepsItsLogicalGeometry_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QRect>("geometry");

    QTest::newRow("connect button") << u"Pb_Connect"_s << pixels(120, 120, 1695, 375);
    QTest::newRow("output box") << u"Txt_Out"_s << pixels(120, 600, 6030, 1095);
    QTest::newRow("locomotive panel") << u"Frm_Loco"_s << pixels(75, 1830, 11865, 1950);
    QTest::newRow("slider in its panel") << u"Slider_Loco"_s << pixels(2460, 660, 6975, 495);
    QTest::newRow("forward picture") << u"Pb_Loco_For"_s << pixels(9480, 690, 2175, 630);
    QTest::newRow("last number plate") << u"Lbl_Kb(24)"_s << pixels(5460, 885, 435, 210);
    QTest::newRow("go lamp") << u"Sh_Go"_s << pixels(9255, 6135, 2625, 495);
    QTest::newRow("off button below the client area") << u"Pb_Off"_s << pixels(120, 10215, 855, 375);
}

void TestHighDpi::layoutKeepsItsLogicalGeometry()
{
    QFETCH(QString, control);
    QFETCH(QRect, geometry);

    auto *widget = m_window->findChild<QWidget *>(control);
    QVERIFY(widget);
    QCOMPARE(widget->geometry(), geometry);
    QCOMPARE(m_window->size(), QSize(802, 449));
}

void TestHighDpi::picturesAreRenderedFromTheirSources_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("source");

    QTest::newRow("forward") << u"Pb_Loco_For"_s << u":/artwork/loco-forward.svg"_s;
    QTest::newRow("backward") << u"Pb_Loco_Back"_s << u":/artwork/loco-backward.svg"_s;
}

// The picture on screen is the SVG drawn at the device's resolution: it
// matches a 280 x 36 rendering of the source, and not the 140 x 36 picture
// enlarged, which is what a bitmap would give.
void TestHighDpi::picturesAreRenderedFromTheirSources()
{
    QFETCH(QString, control);
    QFETCH(QString, source);
    // In full colour, as once the track power is on; disabled, they are greyed.
    m_window->showConnected();
    m_window->showPowerOn();

    auto *button = m_window->findChild<QPushButton *>(control);
    QVERIFY(button);
    QCOMPARE(button->iconSize(), QSize(140, 36));
    const QPixmap pixmap = button->icon().pixmap(button->iconSize(), m_window->devicePixelRatio());
    QCOMPARE(pixmap.devicePixelRatio(), kScale);
    QCOMPARE(pixmap.size(), QSize(280, 72));

    const QImage shot = m_window->grab().toImage();
    const QImage sharp = renderSvg(source, QSize(280, 72));
    const QImage enlarged =
            renderSvg(source, QSize(140, 36)).scaled(280, 72, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QRect area = deviceRect(button, m_window.get());
    const auto [at, sharpDifference] = bestMatch(shot, sharp, area);
    const double enlargedDifference = meanDifference(shot, enlarged, at);

    QVERIFY2(sharpDifference < 1.0, qPrintable(u"differs by %1 from the source"_s.arg(sharpDifference)));
    QVERIFY2(enlargedDifference > 4 * sharpDifference + 1.0,
             qPrintable(u"as close to the enlarged bitmap (%1) as to the source (%2)"_s.arg(enlargedDifference)
                                .arg(sharpDifference)));
}

void TestHighDpi::windowIconIsSharp()
{
    const QIcon icon = m_window->windowIcon();
    const QList<QSize> sizes = icon.availableSizes();
    QVERIFY(sizes.contains(QSize(16, 16)));
    QVERIFY(sizes.contains(QSize(32, 32)));
    const QPixmap pixmap = icon.pixmap(QSize(32, 32), kScale);
    QCOMPARE(pixmap.size(), QSize(64, 64));
    QCOMPARE(pixmap.devicePixelRatio(), kScale);
    // Drawn for the 64 pixels, not the 32-pixel picture enlarged.
    const QImage enlarged =
            icon.pixmap(QSize(32, 32), 1.0).toImage().scaled(64, 64, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QVERIFY(pixmap.toImage().convertToFormat(enlarged.format()) != enlarged);
}

// Text is laid out again at the higher resolution, where glyph widths differ a
// little; every caption, field text and label must still fit its box, by the
// same measure as at scale 1.
void TestHighDpi::captionsFit()
{
    QStringList clipped;
    for (QWidget *control : m_window->findChildren<QWidget *>()) {
        if (const QString clipping = TestKit::captionClipping(control); !clipping.isEmpty())
            clipped << control->objectName() + u": "_s + clipping;
    }
    QVERIFY2(clipped.isEmpty(), qPrintable(u"clipped at scale 2: "_s + clipped.join(u", ")));
}

QTEST_MAIN(TestHighDpi)
#include "tst_highdpi.moc"
