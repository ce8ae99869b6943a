// What assistive technology is told of the window's own kinds of control:
// image areas by the role they play, the announcer as a notification, and
// nothing of what is drawn for its look alone.
#pragma once

class QWidget;

// Installs the accessibility factory for them; call once, before any is made.
void installAccessibility();

// Leaves control out of what assistive technology is shown of its window: a
// copy drawn for its look alone, such as a caption's shadow, which a screen
// reader would otherwise read a second time. For windows made straight from
// QWidget.
void hideFromAssistiveTechnology(QWidget *control);
