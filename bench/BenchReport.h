#pragma once

#include <string>
#include <vector>

// The figures of a run: printed as each is measured, and again as one table
// at the end.
class BenchReport {
public:
    // A comparison against the raw loop: times in seconds, the ratio's target.
    void AddRatio(const std::string &source, const std::string &figure, double appSeconds,
                  double rawSeconds, double target);
    // A figure that is not a ratio (memory, time per statement), with its verdict.
    void AddNote(const std::string &source, const std::string &figure, const std::string &value,
                 const std::string &verdict);
    void AddFailure(const std::string &source, const std::string &what);

    void PrintTable() const;
    bool AllMet() const;

    static std::string Duration(double seconds);
    static std::string Bytes(double bytes);

private:
    struct Line {
        std::string source;
        std::string figure;
        std::string value;
        std::string verdict;
    };
    void Add(Line line);

    std::vector<Line> m_lines;
};
