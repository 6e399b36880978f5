// The fader's picture: the one-pixel track, the raised thumb and the value
// text, and its resolution on a scaled display.

#include <QPixmap>
#include <QWidget>

#include "ControlsTestSupport.h"
#include "controls/FaderControl.h"

using namespace cs6;

class FaderRenderTest : public QObject {
    Q_OBJECT

    QWidget strip_;
    std::vector<FaderControl*> faders_; // owned by strip_

private slots:
    void initTestCase()
    {
        int x = 6;
        // The last is the performance volume fader: taller, with a larger thumb.
        for (const auto& [value, volume] : {std::pair{64, false}, std::pair{127, false}, std::pair{200, false}, std::pair{100, true}}) {
            auto* fader = new FaderControl(&strip_);
            fader->setGeometry(x, 6, volume ? 27 : 29, volume ? 112 : 63);
            if (volume)
                fader->SetThumbSize(26, 12);
            fader->SetRange(0, 127, value);
            fader->SetValue(value);
            faders_.push_back(fader);
            x += fader->width() + 6;
        }
        strip_.resize(x, 124);
    }

    void EachFaderShowsTrackThumbAndText()
    {
        for (FaderControl* fader : faders_) {
            const QImage image = fader->grab().toImage();
            const int face = qGray(fader->palette().color(QPalette::Button).rgb());
            const QRgb light = fader->palette().color(QPalette::Light).rgb();
            const int cx = fader->width() / 2;
            const auto thumb = fader->ThumbRect();
            // A track one pixel wide from its top to just above its bottom.
            for (int y = fader->TrackTop() - 1; y <= fader->TrackBottom(); ++y) {
                if (y >= thumb.top && y < thumb.bottom) // under the thumb
                    continue;
                QCOMPARE(image.pixel(cx, y) == light, y >= fader->TrackTop() && y < fader->TrackBottom());
                QCOMPARE(qGray(image.pixel(cx - 1, y)), face);
                QCOMPARE(qGray(image.pixel(cx + 1, y)), face);
            }
            // A thumb light on the top and left, dark on the bottom and right.
            if (thumb.bottom > 0) {
                const int midY = (thumb.top + thumb.bottom) / 2;
                QVERIFY(qGray(image.pixel(thumb.left, midY)) > face);
                QVERIFY(qGray(image.pixel(cx + 3, thumb.top)) > face);
                QVERIFY(qGray(image.pixel(thumb.right - 1, midY)) < face);
                QVERIFY(qGray(image.pixel(cx + 3, thumb.bottom - 1)) < face);
                QCOMPARE(qGray(image.pixel(cx, midY)), face); // covering the track
            } else { // above the control: nothing of it on the track's sides
                for (int y = 0; y < fader->TrackBottom(); ++y)
                    QCOMPARE(qGray(image.pixel(2, y)), face);
            }
            // Dark text from 10 pixels above the bottom, centred across.
            int left = image.width(), right = -1, top = image.height();
            for (int y = std::max(fader->TrackBottom() + 1, thumb.bottom); y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if (qGray(image.pixel(x, y)) < 128)
                        std::tie(left, right, top) = std::tuple{std::min(left, x), std::max(right, x), std::min(top, y)};
            QVERIFY2(right >= 0, "no text under the track");
            QVERIFY(top >= image.height() - 10);
            QVERIFY(std::abs((left + right + 1) / 2 - cx) <= 1);
        }
    }

    // On a display scaled to 200 % the picture is drawn with twice the
    // pixels, not drawn at 100 % and scaled up.
    void PaintsAtTheDisplaysPixelRatio()
    {
        FaderControl* fader = faders_.front();
        QPixmap shown(fader->size() * 2);
        shown.setDevicePixelRatio(2);
        fader->render(&shown);
        QCOMPARE(fader->PictureBuffer()->View().size(), fader->size() * 2);
        const QImage image = shown.toImage();
        // The track is one logical pixel, two device pixels, wide.
        const QRgb light = fader->palette().color(QPalette::Light).rgb();
        const int x = fader->width() / 2 * 2, y = 2 * fader->TrackBottom() - 4;
        QCOMPARE((std::vector<bool>{image.pixel(x - 1, y) == light, image.pixel(x, y) == light,
                                    image.pixel(x + 1, y) == light, image.pixel(x + 2, y) == light}),
                 (std::vector<bool>{false, true, true, false}));
        // The text and the thumb's edges have detail finer than a logical
        // pixel: not every 2 x 2 block is one colour.
        bool finer = false;
        for (int by = 0; by + 1 < image.height(); by += 2)
            for (int bx = 0; bx + 1 < image.width(); bx += 2)
                for (const QPoint d : {QPoint(1, 0), QPoint(0, 1), QPoint(1, 1)})
                    finer |= image.pixel(QPoint(bx, by) + d) != image.pixel(bx, by);
        QVERIFY(finer);
    }
};

CS6_EDITOR_TEST(FaderRenderTest);
#include "FaderRenderTest.moc"
