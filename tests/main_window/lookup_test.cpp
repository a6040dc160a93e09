#include "gtest_qt.h"
