#pragma once

#include "text/encoding.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace vestrak {

// What is kept of a line holding NUL that runs on into the next piece.
enum class LinesWithNul {
    // As far as the scanner asks, as for any line.
    KeptWhole,
    // Only up to its first NUL, which stays the last byte kept even beyond what the scanner asks:
    // for a scanner that skips such lines as damage, which then cost nothing however long they run.
    CutAtFirstNul,
};

// What the cut found in a line besides its end, in the same pass over its bytes. A line kept
// across pieces was not looked at whole: it may hold either.
struct LineMarks {
    bool mayHoldNul = true;
    bool mayHoldSpacePair = true;
};

// The next line of rest as TakeTextLine takes it, and what else its bytes hold; nothing when rest
// is empty.
std::optional<std::string_view> TakeMarkedLine(std::string_view& rest, LineMarks& marks);

// Cuts text given in pieces into lines as TakeTextLine does, handing each to scanner.line(bytes)
// (or scanner.line(bytes, marks), for a scanner that can use them), which returns false once it
// wants no more lines. A line that runs on into the next piece is kept only as far as
// scanner.wantedLineBytes() asks, so a file without line ends costs no more than that.
template<typename Scanner> class LineCutter {
public:
    explicit LineCutter(Scanner& scanner, LinesWithNul linesWithNul = LinesWithNul::KeptWhole)
        : m_Scanner(scanner)
        , m_LinesWithNul(linesWithNul)
    {
    }

    // False once the scanner wants no more lines.
    bool add(std::string_view piece)
    {
        // An empty piece (a UTF-16 file read a byte at a time gives them) leaves a CR waiting for
        // its LF.
        if (piece.empty()) {
            return true;
        }
        if (std::exchange(m_AfterCarriageReturn, false) && piece.starts_with('\n')) {
            piece.remove_prefix(1);
            if (piece.empty()) {
                return true;
            }
        }
        const bool endsLine = piece.back() == '\n' || piece.back() == '\r';
        m_AfterCarriageReturn = piece.back() == '\r';
        LineMarks marks;
        while (const auto line = TakeMarkedLine(piece, marks)) {
            if (piece.empty() && !endsLine) {
                keep(*line);
                return true;
            }
            if (m_RunningOn) {
                keep(*line);
                m_RunningOn = false;
                if (!give(m_Kept, LineMarks())) {
                    return false;
                }
            } else if (!give(*line, marks)) {
                return false;
            }
        }
        return true;
    }

    void finish()
    {
        if (std::exchange(m_RunningOn, false)) {
            give(m_Kept, LineMarks());
        }
    }

private:
    bool give(std::string_view line, const LineMarks& marks)
    {
        if constexpr (requires { m_Scanner.line(line, marks); }) {
            return m_Scanner.line(line, marks);
        } else {
            return m_Scanner.line(line);
        }
    }

    void keep(std::string_view part)
    {
        if (!m_RunningOn) {
            m_RunningOn = true;
            m_Kept.clear();
            m_Wanted = m_Scanner.wantedLineBytes();
            m_NulKept = false;
        }
        if (m_NulKept) {
            return;
        }
        const std::size_t room = m_Wanted - std::min(m_Wanted, m_Kept.size());
        const std::size_t nul
            = m_LinesWithNul == LinesWithNul::CutAtFirstNul ? part.find('\0') : std::string_view::npos;
        if (nul == std::string_view::npos) {
            m_Kept.append(part.substr(0, room));
            return;
        }
        m_Kept.append(part.substr(0, std::min(nul, room)));
        m_Kept.push_back('\0');
        m_NulKept = true;
    }

    Scanner& m_Scanner;
    LinesWithNul m_LinesWithNul;
    std::string m_Kept;
    std::size_t m_Wanted = 0;
    bool m_RunningOn = false;
    bool m_NulKept = false;
    bool m_AfterCarriageReturn = false;
};

} // namespace vestrak
