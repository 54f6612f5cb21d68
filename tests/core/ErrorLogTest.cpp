#include "core/scan/ErrorLog.h"

#include <gtest/gtest.h>

#include "support/TestFiles.h"

namespace parvane::scan {
namespace {

const FixedEnvironment kEnvironment({{2026, 6, 19}, 9, 5, 7}, '.');

TEST(ErrorLog, LineEndsInsideAFileNameStayOnOneLine)
{
    const test::TempDir dir;
    ErrorLog log(dir.path() / kErrorLogFileName, kEnvironment);
    log.write("/base/histo/A\r\nB\rC\nD_1.txt", ": fichier introuvable");
    log.write("X_2.txt", ": two\nlines");

    EXPECT_EQ(log.count(), 2u);
    EXPECT_EQ(test::readFile(dir.path() / kErrorLogFileName),
              "19/06/2026 09:05:07 | /base/histo/A??B?C?D_1.txt: fichier introuvable\r\n"
              "19/06/2026 09:05:07 | X_2.txt: two?lines\r\n");
}

} // namespace
} // namespace parvane::scan
