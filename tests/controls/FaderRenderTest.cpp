// Renders a row of faders with values and formatters to PNG files under the
// build directory for a person to look at, and checks the parts of each
// picture: the one-pixel track, the raised thumb, the value text.

#include <QDir>
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
        struct Sample {
            double min, max;
            int value;
            const ValueFormatter* formatter;
            int mode;
        };
        const Sample samples[] = {
            {0, 127, 64, nullptr, 0},  {0, 127, 127, nullptr, 0},           {0, 127, 0, &bipolarFormatter, 0},
            {0, 127, 60, &noteNameFormatter, 0}, {40, 88, 52, &shiftDetuneFormatter, 0},
            {0, 255, 0, &shiftDetuneFormatter, 1}, {0, 127, 200, nullptr, 0}, {0, 127, 100, nullptr, 0},
        };
        int x = 6;
        for (const Sample& s : samples) {
            auto* fader = new FaderControl(&strip_);
            const bool volume = faders_.size() == 7; // the performance volume fader
            fader->setGeometry(x, 6, volume ? 27 : 29, volume ? 112 : 63);
            if (volume)
                fader->SetThumbSize(26, 12);
            fader->SetScrollSizes(-1, -1);
            fader->SetRange(s.min, s.max, s.value);
            fader->SetValue(s.value);
            if (s.formatter)
                fader->SetFormatter(s.formatter, s.mode);
            faders_.push_back(fader);
            x += fader->width() + 6;
        }
        strip_.resize(x, 124);
    }

    void WritesThePicture()
    {
        const QImage picture = strip_.grab().toImage();
        const QString dir = QStringLiteral(CS6_RENDER_DIR);
        QVERIFY(QDir().mkpath(dir));
        QVERIFY(picture.save(dir + "/faders.png"));
        // Four times larger, pixel for pixel, to see the edges.
        QVERIFY(picture.scaled(picture.size() * 4, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                    .save(dir + "/faders-x4.png"));
        QStringList labels;
        for (const FaderControl* fader : faders_)
            labels << fader->Label();
        QCOMPARE(labels, (QStringList{"64", "127", "-64", "C3", "-12", "-12.8Hz", "200", "100"}));
    }

    void EachFaderShowsTrackThumbAndText()
    {
        for (FaderControl* fader : faders_) {
            const QImage image = fader->grab().toImage();
            const int face = qGray(fader->palette().color(QPalette::Button).rgb());
            const QRgb light = fader->palette().color(QPalette::Light).rgb();
            const int cx = fader->width() / 2;
            const auto thumb = fader->ThumbRect();
            auto underThumb = [&](int y) { return y >= thumb.top && y < thumb.bottom; };

            // A track one pixel wide from its top to just above its bottom.
            for (int y = fader->TrackTop() - 1; y <= fader->TrackBottom(); ++y) {
                if (underThumb(y))
                    continue;
                const bool onTrack = y >= fader->TrackTop() && y < fader->TrackBottom();
                QCOMPARE(image.pixel(cx, y) == light, onTrack);
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
            for (int y = std::max(fader->TrackBottom() + 1, thumb.bottom); y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    if (qGray(image.pixel(x, y)) < 128) {
                        left = std::min(left, x);
                        right = std::max(right, x);
                        top = std::min(top, y);
                    }
                }
            }
            QVERIFY2(right >= 0, "no text under the track");
            QVERIFY(top >= image.height() - 10);
            if (fader->Label().size() <= 3) // wider labels are cut at both sides
                QVERIFY(std::abs((left + right + 1) / 2 - cx) <= 1);
        }
    }
};

CS6_OFFSCREEN_TEST_MAIN(FaderRenderTest)
#include "FaderRenderTest.moc"
