#include "ui/printing/TextSheets.h"

#include <QFontMetricsF>
#include <QPainter>
#include <memory>

#include "results/PrintLayout.h"

namespace finplan {

namespace {

// The printer font at a character size: the face, weight and style chosen, made small enough
// that its characters fit the character width (stretching is not kept by every print engine).
// A face the machine lacks falls back to a similar one through Qt's matching.
QFont sizedFont(const QFont& face, const PrintCharSize& size, QPaintDevice* device, bool bold) {
    QFont font(face);
    if (bold)
        font.setWeight(QFont::ExtraBold);
    const double pixels = std::max(1.0, size.height * 0.8);
    font.setPixelSize(static_cast<int>(pixels));
    const double average = QFontMetricsF(font, device).averageCharWidth();
    if (average > size.width && average > 0)
        font.setPixelSize(std::max(1, static_cast<int>(pixels * size.width / average)));
    return font;
}

QString text(const std::string& s) {
    return QString::fromLatin1(s.c_str());
}

class SheetPainter {
  public:
    SheetPainter(int kind, const SheetStyle& style, QPainter& painter, const QRectF& printable,
                 int sheet, int count)
        : m_kind(kind), m_style(style), m_p(painter), m_sheet(sheet), m_count(count) {
        m_area = printable;
        // Schedule sheets start a little further in.
        m_unit = printable.width() / 4200.0;
        if (kind == kSchedulePage)
            m_area.setLeft(m_area.left() + 10 * m_unit);
        m_char = printCharSize(kind, m_area.width(), m_area.height(), sheet == 0);
        m_font = sizedFont(style.font, m_char, painter.device(), false);
        m_bold = sizedFont(style.font, m_char, painter.device(), true);
        m_y = m_area.top();
    }

    void titlePage() {
        // The header block alone, larger, a third of the way down.
        PrintCharSize header = m_char;
        if (m_kind == kSchedulePage) {
            header.width = header.width * 2 / 3;
            header.height = header.height * 2 / 3;
        }
        const QFont font = sizedFont(m_style.font, header, m_p.device(), true);
        m_p.setFont(font);
        const std::vector<std::string> lines = headerLines();
        const double line = header.height;
        const double top = m_area.top() + m_area.height() / 3;
        const QRectF block(m_area.left(), top - line / 2, m_area.width(),
                           line * (static_cast<double>(lines.size()) + 1));
        decorate(block);
        for (std::size_t n = 0; n < lines.size(); ++n)
            m_p.drawText(
                QRectF(m_area.left(), top + line * static_cast<double>(n), m_area.width(), line),
                Qt::AlignCenter, text(lines[n]));
    }

    void header() {
        m_p.setFont(m_font);
        m_p.drawText(QRectF(m_area.left(), m_y, m_area.width(), m_char.height), Qt::AlignCenter,
                     text(pageNumberText(m_sheet, m_count)));
        m_y += m_char.height * 1.5;
        const std::vector<std::string> lines = headerLines();
        const QRectF block(m_area.left(), m_y, m_area.width(),
                           m_char.height * (static_cast<double>(lines.size()) + 0.5));
        decorate(block);
        m_p.setFont(m_bold);
        m_y += m_char.height * 0.25;
        for (const std::string& line : lines) {
            m_p.drawText(QRectF(m_area.left(), m_y, m_area.width(), m_char.height), Qt::AlignCenter,
                         text(line));
            m_y += m_char.height;
        }
        m_y = block.bottom() + 2 * m_char.height;
        m_bodyTop = m_y;
        if (m_style.boxes)
            frame(QRectF(m_area.left(), m_bodyTop, m_area.width(), m_area.bottom() - m_bodyTop));
    }

    void schedulePage(const SheetText& lines) {
        const int cells = mostCells(lines);
        m_edges =
            columnEdges(kSchedulePage, m_style.todaysDollars, m_area.width(), m_char.width, cells);
        bool inBlock = false;
        int row = 0;
        for (const std::string& line : lines) {
            if (m_y + m_char.height > m_area.bottom() + 1)
                break;
            const ScheduleLine kind = classifyScheduleLine(line);
            if (kind == ScheduleLine::End)
                break;
            const std::string_view body = indentless(line);
            m_p.setFont(inBlock ? m_bold : m_font);
            switch (kind) {
            case ScheduleLine::End:
            case ScheduleLine::Skip:
                break;
            case ScheduleLine::BlockStart:
                inBlock = true;
                m_y += m_char.height / 2;
                break;
            case ScheduleLine::BlockEnd:
                inBlock = false;
                m_y += m_char.height / 2;
                break;
            case ScheduleLine::ScenarioTitle: {
                m_p.setFont(m_bold);
                const double height = m_char.height * 1.5;
                m_p.drawText(QRectF(m_area.left(), m_y, m_area.width(), height),
                             Qt::AlignLeft | Qt::AlignVCenter, text(std::string(trimmed(body))));
                m_y += height;
                break;
            }
            case ScheduleLine::SectionHeading:
                drawLine(2, trimmed(body));
                break;
            case ScheduleLine::TableRow: {
                const QRectF rowRect(m_area.left(), m_y, m_area.width(), m_char.height);
                if (rowGetsBand(kSchedulePage, true, row++))
                    decorate(rowRect);
                else if (m_style.boxes)
                    frame(rowRect);
                if (m_style.boxes && m_style.todaysDollars)
                    frame(rowRect.adjusted(7 * m_char.width, 0, 0, 0));
                drawCells(splitCells(line), true, m_char.height);
                m_y += m_char.height;
                break;
            }
            case ScheduleLine::ColumnHeading:
                m_y += m_char.height / 4;
                if (inBlock && m_style.banding)
                    m_p.fillRect(QRectF(m_area.left(), m_y, m_area.width(), m_char.height),
                                 m_style.band);
                drawCells(splitCells(line), false, m_char.height);
                m_y += m_char.height;
                break;
            case ScheduleLine::Text:
                drawLine(8, body);
                break;
            }
        }
    }

    void reportPage(const SheetText& lines) {
        const int cells = mostCells(lines);
        m_edges = columnEdges(m_kind, m_style.todaysDollars, m_area.width(), m_char.width, cells);
        int row = 0;
        m_p.setFont(m_font);
        for (const std::string& line : lines) {
            if (line.find("Dooone") != std::string::npos ||
                line.find("Dooooone") != std::string::npos)
                break;
            if (line.find("-----") != std::string::npos)
                continue;
            if (m_y + m_char.height > m_area.bottom() + 1)
                break;
            if (line.find_first_not_of(" \t") == std::string::npos) {
                m_y += m_char.height / 2;
                continue;
            }
            const bool data = isReportDataRow(line);
            const std::vector<std::string> rowCells = splitCells(line);
            const double height = data ? m_char.height : headingHeight(rowCells);
            const QRectF rowRect(m_area.left(), m_y, m_area.width(), height);
            if (rowGetsBand(m_kind, data, row)) {
                if (m_style.banding)
                    m_p.fillRect(rowRect, m_style.band);
                if (m_style.boxes)
                    frame(rowRect);
            }
            ++row;
            drawCells(rowCells, data, height);
            m_y += height;
        }
        if (m_style.columns) {
            const int lines = std::min<int>(columnLineCount(m_kind, m_style.todaysDollars),
                                            static_cast<int>(m_edges.size()));
            const double shift = m_kind >= 12 && m_kind <= 14 ? -2 * m_unit : 3 * m_unit;
            m_p.setPen(QPen(Qt::black, 0));
            for (int c = 1; c < lines; ++c) {
                const double x = m_area.left() + m_edges[static_cast<std::size_t>(c)] + shift;
                m_p.drawLine(QPointF(x, m_bodyTop), QPointF(x, m_y));
            }
        }
    }

  private:
    std::vector<std::string> headerLines() const {
        return printHeaderLines(m_style.heading.toStdString(), m_style.titles,
                                m_style.fileName.toStdString(), m_style.now);
    }

    static std::string_view indentless(std::string_view line) {
        std::size_t blanks = 0;
        while (blanks < 10 && blanks < line.size() && line[blanks] == ' ')
            ++blanks;
        return line.substr(blanks);
    }
    static std::string_view trimmed(std::string_view s) {
        const std::size_t start = s.find_first_not_of(' ');
        return start == std::string_view::npos ? std::string_view{} : s.substr(start);
    }

    static int mostCells(const SheetText& lines) {
        std::size_t most = 0;
        for (const std::string& line : lines)
            if (line.find('\t') != std::string::npos)
                most = std::max(most, splitCells(line).size());
        return static_cast<int>(most);
    }

    // The band colour behind a block, framed when boxing is on.
    void decorate(const QRectF& rect) {
        if (m_style.banding)
            m_p.fillRect(rect, m_style.band);
        if (m_style.boxes)
            frame(rect);
    }
    void frame(const QRectF& rect) {
        m_p.save();
        m_p.setPen(QPen(Qt::black, 0));
        m_p.setBrush(Qt::NoBrush);
        m_p.drawRect(rect);
        m_p.restore();
    }

    void drawLine(int indent, std::string_view line) {
        m_p.drawText(QRectF(m_area.left() + indent * m_char.width, m_y,
                            m_area.width() - indent * m_char.width, m_char.height),
                     Qt::AlignLeft | Qt::AlignVCenter, text(std::string(line)));
        m_y += m_char.height;
    }

    QRectF cellRect(std::size_t column, double height) const {
        const double left = m_edges[column];
        const double right = column + 1 < m_edges.size() ? m_edges[column + 1] : m_area.width();
        return {m_area.left() + left, m_y, right - left, height};
    }

    double headingHeight(const std::vector<std::string>& cells) const {
        double height = m_char.height;
        const QFontMetricsF metrics(m_font, m_p.device());
        for (std::size_t c = 0; c < cells.size() && c < m_edges.size(); ++c) {
            const QRectF room = cellRect(c, 10 * m_char.height).adjusted(m_unit, 0, -m_unit, 0);
            const QRectF needed =
                metrics.boundingRect(room, Qt::TextWordWrap | Qt::AlignHCenter, text(cells[c]));
            height = std::max(height, needed.height());
        }
        return std::min(height, 3 * m_char.height);
    }

    void drawCells(const std::vector<std::string>& cells, bool data, double height) {
        for (std::size_t c = 0; c < cells.size() && c < m_edges.size(); ++c) {
            QRectF rect = cellRect(c, height);
            int flags = Qt::AlignVCenter;
            switch (cellAlignment(m_kind, data, static_cast<int>(c), m_sheet)) {
            case CellAlign::Left:
                flags |= Qt::AlignLeft;
                break;
            case CellAlign::LeftInset:
                rect.adjust(m_unit, 0, 0, 0);
                flags |= Qt::AlignLeft;
                break;
            case CellAlign::Centre:
                flags |= Qt::AlignHCenter;
                break;
            case CellAlign::Right:
                rect.adjust(0, 0, -2 * m_unit - m_char.width / 2, 0);
                flags |= Qt::AlignRight;
                break;
            }
            // Report headings wrap in their column; the schedule's stay on their line.
            if (!data && m_kind != kSchedulePage)
                flags |= Qt::TextWordWrap;
            m_p.drawText(rect, flags, text(cells[c]));
        }
    }

    int m_kind;
    const SheetStyle& m_style;
    QPainter& m_p;
    int m_sheet;
    int m_count;
    QRectF m_area;
    double m_unit = 1;
    PrintCharSize m_char;
    QFont m_font;
    QFont m_bold;
    double m_y = 0;
    double m_bodyTop = 0;
    std::vector<double> m_edges;
};

} // namespace

PrintJob textSheetsJob(int kind, std::vector<SheetText> pages, const SheetStyle& style) {
    PrintJob job;
    job.sheetCount = static_cast<int>(pages.size()) + 1;
    auto shared = std::make_shared<const std::vector<SheetText>>(std::move(pages));
    job.drawSheet = [kind, shared, style](QPainter& painter, const QRectF& printable, int sheet) {
        if (sheet < 0 || sheet > static_cast<int>(shared->size()))
            return false;
        painter.setPen(Qt::black);
        SheetPainter sheetPainter(kind, style, painter, printable, sheet,
                                  static_cast<int>(shared->size()));
        if (sheet == 0) {
            sheetPainter.titlePage();
            return true;
        }
        sheetPainter.header();
        const SheetText& lines = (*shared)[static_cast<std::size_t>(sheet - 1)];
        if (kind == kSchedulePage)
            sheetPainter.schedulePage(lines);
        else
            sheetPainter.reportPage(lines);
        return true;
    };
    return job;
}

PrintJob joinedJob(const QString& documentName, std::vector<PrintJob> jobs) {
    PrintJob job;
    job.documentName = documentName;
    job.pageRange = false;
    for (const PrintJob& part : jobs)
        job.sheetCount += part.sheetCount;
    auto shared = std::make_shared<const std::vector<PrintJob>>(std::move(jobs));
    job.drawSheet = [shared](QPainter& painter, const QRectF& printable, int sheet) {
        for (const PrintJob& part : *shared) {
            if (sheet < part.sheetCount)
                return part.drawSheet(painter, printable, sheet);
            sheet -= part.sheetCount;
        }
        return false;
    };
    return job;
}

} // namespace finplan
