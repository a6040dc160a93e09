#pragma once

// GoogleTest with Qt's string type shown as text in failure messages. The printer must be
// declared before GoogleTest's own templates are seen, so include this instead of gtest.h.

#include <QString>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

#include <gtest/gtest.h>
