#pragma once

#include <QString>

class QWidget;

// Types text into a widget as a keyboard or input method would: one key event per
// character, a character outside the Basic Multilingual Plane arriving as its surrogate pair
// in one event. Unlike QTest::keyClicks it types Thai and other text beyond Latin-1.
void typeText(QWidget* widget, const QString& text);
