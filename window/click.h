// What counts as a click on a control: the left button released over it.
#pragma once

#include <QMouseEvent>
#include <QWidget>

inline bool isClick(const QWidget &control, const QMouseEvent &release)
{
    return release.button() == Qt::LeftButton
        && control.rect().contains(release.position().toPoint());
}
