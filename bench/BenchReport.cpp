#include "BenchReport.h"

#include <algorithm>
#include <cstdio>

namespace {

std::string Format(const char *format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

const char *const Missed = "MISSED";
const char *const Failed = "FAILED";

} // namespace

std::string BenchReport::Duration(double seconds) {
    if (seconds >= 1.0)
        return Format("%.3f s", seconds);
    if (seconds >= 1e-3)
        return Format("%.2f ms", seconds * 1e3);
    return Format("%.2f us", seconds * 1e6);
}

std::string BenchReport::Bytes(double bytes) { return Format("%.1f MB", bytes / 1e6); }

void BenchReport::Add(Line line) {
    std::printf("  %-8s %-44s %s  [%s]\n", line.source.c_str(), line.figure.c_str(),
                line.value.c_str(), line.verdict.c_str());
    std::fflush(stdout);
    m_lines.push_back(std::move(line));
}

void BenchReport::AddRatio(const std::string &source, const std::string &figure, double appSeconds,
                           double rawSeconds, double target) {
    const double ratio = appSeconds / rawSeconds;
    std::string value = Format("%.2fx", ratio) + "  (Brindle " + Duration(appSeconds) +
                        ", raw loop " + Duration(rawSeconds) + ")";
    Add({source, figure, value,
         (ratio <= target ? "met, target " : "MISSED, target ") + Format("%.2fx", target)});
}

void BenchReport::AddNote(const std::string &source, const std::string &figure,
                          const std::string &value, const std::string &verdict) {
    Add({source, figure, value, verdict});
}

void BenchReport::AddFailure(const std::string &source, const std::string &what) {
    Add({source, "could not be measured", what, Failed});
}

void BenchReport::PrintTable() const {
    size_t figureWidth = 6;
    size_t valueWidth = 5;
    for (const Line &line : m_lines) {
        figureWidth = std::max(figureWidth, line.figure.size());
        valueWidth = std::max(valueWidth, line.value.size());
    }
    const int fw = static_cast<int>(figureWidth);
    const int vw = static_cast<int>(valueWidth);
    std::printf("\n%-8s  %-*s  %-*s  %s\n", "Source", fw, "Figure", vw, "Value", "Verdict");
    std::printf("%s\n", std::string(8 + 2 + figureWidth + 2 + valueWidth + 2 + 24, '-').c_str());
    for (const Line &line : m_lines)
        std::printf("%-8s  %-*s  %-*s  %s\n", line.source.c_str(), fw, line.figure.c_str(), vw,
                    line.value.c_str(), line.verdict.c_str());
    std::fflush(stdout);
}

bool BenchReport::AllMet() const {
    return std::none_of(m_lines.begin(), m_lines.end(), [](const Line &line) {
        return line.verdict.rfind(Missed, 0) == 0 || line.verdict.rfind(Failed, 0) == 0;
    });
}
