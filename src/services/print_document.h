// A print-out as the core lays it out: runs of text at positions in twips (1,440 to the inch)
// on numbered pages, written line by line as a printer prints, and the fitting of a name with
// its dot leader to a width. The front end measures with the printer's font and paints the runs.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace quantora {

struct PrintRun {
    int page;  // from 0
    int x;     // twips from the left edge of the page
    int y;     // twips from the top of the page to the top of the line
    std::string text;
    bool bold;
    friend bool operator==(const PrintRun&, const PrintRun&) = default;
};

// The printer's page after its orientation has been set, in twips.
struct PrintPage {
    int width;
    int height;
};

// How wide a text prints in the print font, bold or not, and how far one printed line moves
// down; both in twips.
struct PrintMeasure {
    std::function<int(const std::string& text, bool bold)> width;
    int lineHeight;
};

// The document being laid out: a print position that moves to the next line after each text,
// as a printer's does, and the runs printed so far.
class PrintDocument {
  public:
    PrintDocument(const PrintMeasure& measure, int topMargin)
        : measure_(measure), top_(topMargin), y_(topMargin) {}

    // Prints text at x on the current line; the position then stands at the next line.
    void Print(int x, const std::string& text, bool bold = false);
    // Moves the position down one empty line.
    void SkipLine() { y_ += measure_.lineHeight; }
    int Y() const { return y_; }
    void SetY(int y) { y_ = y; }
    // Continues at the top margin of a new page.
    void NewPage();
    int Width(const std::string& text, bool bold = false) const {
        return measure_.width(text, bold);
    }

    std::vector<PrintRun> TakeRuns() { return std::move(runs_); }

  private:
    const PrintMeasure& measure_;
    int top_;
    int y_;
    int page_ = 0;
    std::vector<PrintRun> runs_;
};

// The longest start of text, cut at whole characters, for which fits holds, trying from the
// whole text down as one would by removing one character at a time; the empty text when none
// does. fits must hold for every shorter start once it holds for one (widths never shrink as a
// text grows), so the search needs only a few measurements.
std::string LongestFittingStart(const std::string& text,
                                const std::function<bool(const std::string&)>& fits);

// text as it is when it fits in width, else its longest start that fits with ".." after it.
std::string CutToWidth(const std::string& text, int width, const PrintDocument& document);

// text followed by as many "." as it takes (at least one) for its width to reach width.
std::string WithDotLeader(const std::string& text, int width, const PrintDocument& document);

}  // namespace quantora
