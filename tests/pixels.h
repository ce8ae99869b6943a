// Pixel checks with a small tolerance, for screenshots and grabbed windows.
#pragma once

#include <QColor>
#include <QDebug>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <cstdlib>

// Whether two colours differ by at most 2 in each of red, green and blue.
inline bool nearColour(QColor actual, QColor expected)
{
    return std::abs(actual.red() - expected.red()) <= 2
        && std::abs(actual.green() - expected.green()) <= 2
        && std::abs(actual.blue() - expected.blue()) <= 2;
}

// Compares a pixel with a small tolerance; saves the image when it differs.
inline bool pixelIs(const QImage &image, QPoint at, QColor expected, const QString &saveAs)
{
    const QColor actual = image.pixelColor(at);
    const bool close = nearColour(actual, expected);
    if (!close) {
        image.save(saveAs);
        qWarning() << "pixel" << at << "is" << actual.name() << "not" << expected.name()
                   << "; saved" << saveAs;
    }
    return close;
}

// The whole screen as the display server shows it, for the tests that watch
// the built program from outside.
inline QImage screenshot()
{
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(
        QImage::Format_RGB32);
}
