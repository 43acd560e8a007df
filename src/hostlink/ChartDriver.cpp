#include "hostlink/ChartDriver.h"

#include "hostlink/ChartLink.h"
#include "hostlink/ChartTitle.h"
#include "platform/Profile.h"

#include <system_error>

namespace hostlink {

namespace {

const char* const Section = "PROCHARTS";
const char* const Key = "indicators";

} // namespace

ChartDriver::ChartDriver(HostLink& link, MainWindowSide& main, ChartDriverSetup setup)
    : link_(link), main_(main), setup_(std::move(setup)), calendar_(setup_.locale) {}

std::vector<std::string> ChartDriver::Words() { return TitleWords(link_.TopChildTitle(mdi_)); }

bool ChartDriver::DayOfTitle(int& day) {
    std::string word = TitleWord(Words(), 2);
    if (word.empty()) return false;
    day = calendar_.TextToDay(word, setup_.now);
    return true;
}

void ChartDriver::Wait(double seconds) {
    const double start = setup_.seconds();
    while (setup_.seconds() - start < seconds) main_.ProcessMessages();
}

void ChartDriver::Prepare() {
    prepared_ = true;
    problem_.clear();
    placed_ = false;
    writtenFile_.clear();
    const Rect screen = link_.Screen();
    if (screen.height <= 0) { // no link: nothing is moved or written
        problem_ = "the host's screen is unknown";
        if (!link_.Problem().empty()) problem_ += " (" + link_.Problem() + ")";
        return;
    }
    main_.SaveAndPlace(screen.height * 6 / 10, screen.height * 4 / 10, 0);
    placed_ = true;
    main_.PointerToStop();
    link_.CloseWindows(ChartWindowTitle);

    // The chart draws the find's lines; the user's own choice comes back at the end.
    std::string text, reason;
    if (platform::ReadRegularFile(setup_.chartIni, text, reason, platform::MaxProfileSize)) {
        savedFile_ = text;
    } else {
        savedFile_.reset();
        std::error_code ec;
        if (std::filesystem::exists(setup_.chartIni, ec)) text.clear(); // not ours to replace
    }
    const platform::ProfileIndex index(text);
    const std::string* old = index.Find(Section, Key);
    savedIndicators_ = old ? std::optional<std::string>(*old) : std::nullopt;
    std::error_code ec;
    if (savedFile_ || !std::filesystem::exists(setup_.chartIni, ec)) {
        writtenFile_ = platform::WriteProfileText(text, Section, Key, setup_.indicators);
        if (!platform::WriteFileAtomically(setup_.chartIni, writtenFile_)) writtenFile_.clear();
    }

    chart_ = ActivateChartWindow(link_, ChartWindowTitle, setup_.programPath);
    if (chart_ == 0) {
        problem_ = "the chart program " + setup_.programPath + " did not start";
        if (!link_.Problem().empty()) problem_ += " (" + link_.Problem() + ")";
        return;
    }
    wasMaximised_ = false;
    link_.GetPlacement(chart_, savedRect_, wasMaximised_);
    if (wasMaximised_) link_.ShowNormal(chart_);
    link_.Move(chart_, Rect{0, 0, screen.width, screen.height * 6 / 10});
    link_.Activate(chart_);
    main_.ProcessMessages();
    mdi_ = link_.MdiClient(chart_);
    if (mdi_ == 0) problem_ = "the chart window has no MDI client";
}

finder::ChartWindow::Shown ChartDriver::ShowTicker(const std::string& symbol,
                                                   const std::function<bool()>& stop) {
    if (!problem_.empty()) return Shown::TimedOut; // no chart: no ratings
    // A refused request would be refused for every ticker after it, each after a long wait.
    if (!link_.PostAndWait(setup_.libraryPath, symbol)) {
        if (stop && stop()) return Shown::Stopped;
        problem_ = "the host did not take the request to show " + symbol;
        if (!link_.Problem().empty()) problem_ += " (" + link_.Problem() + ")";
        return Shown::TimedOut;
    }
    const double start = setup_.seconds();
    for (;;) {
        main_.ProcessMessages();
        if (stop && stop()) return Shown::Stopped;
        if (TitleWord(Words(), 1) == symbol) return missed_.clear(), Shown::Yes;
        // The host's chart may never show a ticker it does not know; two in a row, it shows none.
        if (setup_.seconds() - start >= ShowTickerSeconds) {
            if (!missed_.empty())
                problem_ = "the chart window showed neither " + missed_ + " nor " + symbol;
            missed_ = symbol;
            return Shown::TimedOut;
        }
    }
}

bool ChartDriver::MoveToDay(int target) {
    if (!problem_.empty()) return false;
    int a = 0;
    if (!DayOfTitle(a)) return false;
    while (a != target) {
        link_.SendKeys(mdi_, a < target ? "{RIGHT}" : "{LEFT}");
        const double start = setup_.seconds();
        int c = a;
        while (setup_.seconds() - start < MoveSeconds) {
            main_.ProcessMessages();
            if (setup_.stop && setup_.stop()) return false;
            if (DayOfTitle(c) && c != a) break;
        }
        // Not moved, or jumped over the target: the chart has no bar on that day.
        if (c == a || (c != target && (a < target) != (c < target))) return false;
        a = c;
    }
    return true;
}

bool ChartDriver::ReadEr(int& up, int& dn) {
    if (!problem_.empty()) return false;
    ReadRatings(Words(), up, dn);
    return true;
}

void ChartDriver::Restore() {
    if (!prepared_) return;
    prepared_ = false;
    if (!placed_) return; // the link did not work: nothing was changed
    if (chart_ != 0) {
        link_.Move(chart_, savedRect_);
        main_.ProcessMessages();
        if (wasMaximised_) {
            link_.ShowMaximised(chart_);
            main_.ProcessMessages();
        }
    }
    link_.CloseWindows(ChartWindowTitle);
    Wait(1);

    // Byte for byte as it was, unless the chart changed the file meanwhile: then only the key.
    if (!writtenFile_.empty()) {
        std::string current, reason;
        bool read =
            platform::ReadRegularFile(setup_.chartIni, current, reason, platform::MaxProfileSize);
        if (read && current == writtenFile_) {
            if (savedFile_) {
                platform::WriteFileAtomically(setup_.chartIni, *savedFile_);
            } else {
                std::error_code ec;
                std::filesystem::remove(setup_.chartIni, ec);
            }
        } else if (read) {
            platform::WriteFileAtomically(
                setup_.chartIni,
                platform::WriteProfileText(current, Section, Key, savedIndicators_.value_or("")));
        }
        writtenFile_.clear();
    }
    main_.RestoreAndFocus();
    chart_ = mdi_ = 0;
}

} // namespace hostlink
