#include "app/cli/ProgressLine.h"

#include <gtest/gtest.h>

#include <sstream>

namespace zembrel {
namespace {

using namespace std::chrono_literals;

TEST(ProgressLineTest, AfterASecondOneRewrittenLineThatIsRubbedOutAtTheEnd) {
    std::ostringstream terminal;
    auto now = std::chrono::steady_clock::time_point{};
    ProgressLine line(&terminal, [&] { return now; });
    line.begin("Surveying /srv/Plan.xer");
    line.reportProgress(10, 100);
    now += 999ms;
    line.reportProgress(20, 100);
    EXPECT_EQ(terminal.str(), ""); // quick work shows nothing
    now += 1ms;
    line.reportProgress(50, 200);
    line.reportProgress(51, 200); // still 25 %: not written again
    line.reportProgress(900, 200);
    const std::string first = "Surveying /srv/Plan.xer 25 %";
    EXPECT_EQ(terminal.str(), "\r" + first + "\rSurveying /srv/Plan.xer 100 %");
    terminal.str("");
    line.begin("Purging /srv/P.xer"); // the next work starts on a clean line
    now += 2s;
    line.reportProgress(3, 4);
    line.clear();
    line.clear(); // once rubbed out, nothing more to rub out
    const std::string third = "Purging /srv/P.xer 75 %";
    EXPECT_EQ(terminal.str(), "\r" + std::string(first.size() + 1, ' ') + "\r\r" + third + "\r" +
                                  std::string(third.size(), ' ') + "\r");
}

} // namespace
} // namespace zembrel
