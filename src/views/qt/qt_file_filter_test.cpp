#include "views/qt/qt_file_filter.h"

#include <gtest/gtest.h>

namespace vmu {
namespace {

TEST(QtNameFilters, TurnsWindowsPairsIntoQtFilters) {
  EXPECT_EQ(QtNameFilters("Velmora update files (*.VMU)|*.VMU"), QStringList{"Velmora update files (*.VMU)"});
  // Descriptions without their patterns get them; several patterns; "*.*".
  EXPECT_EQ(QtNameFilters("Databases|*.mdb;*.ldb|Alle bestanden (*.*)|*.*"),
            (QStringList{"Databases (*.mdb *.ldb)", "Alle bestanden (*)"}));
  // A description without a pattern is no filter.
  EXPECT_TRUE(QtNameFilters("").isEmpty());
  EXPECT_TRUE(QtNameFilters("Alleen tekst").isEmpty());
}

}  // namespace
}  // namespace vmu
