#include "files/param_report_pdf.h"

#include "disk/file_extension.h"
#include "disk/whole_file_write.h"
#include "files/param_report.h"
#include "files/parameter_file.h"
#include "live/panel_names.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDir>
#include <QPainter>
#include <QPdfWriter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <algorithm>

namespace {

const QString kTitle = QStringLiteral("Параметры контроллера ЗАРН");
constexpr int kResolution = 300;
constexpr qreal kFontPoints = 8;

QString orDash(const QString& text) {
    return text.trimmed().isEmpty() ? QStringLiteral("—") : text;
}

void addHeading(QTextCursor& cursor, const ParamReport& report) {
    QTextCharFormat title;
    title.setFontPointSize(kFontPoints * 1.6);
    title.setFontWeight(QFont::Bold);
    cursor.insertText(kTitle, title);
    const ReportHeading& h = report.heading;
    const QString lines[][2] = {
        {QStringLiteral("Дата и время"), h.made.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))},
        {panel_text::kObjectType, orDash(h.panel.object_type)},
        {panel_text::kProtocolVersion, orDash(h.panel.protocol_version)},
        {panel_text::kSoftwareVersion, orDash(h.panel.software_version)},
        {panel_text::kRunningHours, orDash(h.panel.running_hours)},
        {QStringLiteral("Адрес контроллера"), QString::number(h.slave_address)},
        {QStringLiteral("Порт"), orDash(h.port)},
        {QStringLiteral("Сравнение с файлом"), QDir::toNativeSeparators(report.compared_file)},
    };
    for (const auto& [name, value] : lines) {
        if (value.isEmpty())
            continue;
        cursor.insertBlock();
        cursor.insertText(name + QStringLiteral(": ") + value, QTextCharFormat());
    }
    cursor.insertBlock();
}

void addTable(QTextCursor& cursor, const ParamReport& report) {
    const bool compared = !report.compared_file.isEmpty();
    const bool written =
        std::any_of(report.rows.begin(), report.rows.end(),
                    [](const ParamReportRow& row) { return !row.written_value.isEmpty(); });
    QStringList header = {QStringLiteral("№"), QStringLiteral("Параметр"),
                          QStringLiteral("Значение"), QStringLiteral("Состояние")};
    // In percent of the page; at 8 points the longest description and state fit in one line
    // beside one more column, and mostly beside two.
    QList<qreal> widths = {5, 45, 15, 35};
    if (compared)
        header << QStringLiteral("В файле");
    // The value a write-all sent where its check found another stored, which «Значение» shows.
    if (written)
        header << QStringLiteral("Записано");
    if (header.size() == 5)
        widths = {5, 40, 12, 31, 12};
    else if (header.size() == 6)
        widths = {5, 36, 11, 28, 10, 10};
    QTextTableFormat format;
    format.setHeaderRowCount(1);
    format.setCellPadding(2);
    format.setCellSpacing(0);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderCollapse(true);
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    QList<QTextLength> columns;
    for (const qreal width : widths)
        columns << QTextLength(QTextLength::PercentageLength, width);
    format.setColumnWidthConstraints(columns);
    QTextTable* table =
        cursor.insertTable(kParamCount + 1, static_cast<int>(header.size()), format);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    for (int c = 0; c < header.size(); ++c)
        table->cellAt(0, c).firstCursorPosition().insertText(header[c], bold);
    for (int i = 0; i < kParamCount; ++i) {
        const ParamReportRow& row = report.rows[i];
        QStringList cells = {QString::number(i), row.description, row.value,
                             BoxStateWords(row.state)};
        if (compared)
            cells << row.file_value;
        if (written)
            cells << row.written_value;
        for (int c = 0; c < header.size(); ++c)
            table->cellAt(i + 1, c).firstCursorPosition().insertText(cells[c]);
    }
}

QByteArray reportPdf(const ParamReport& report) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setTitle(kTitle);
    writer.setCreator(QStringLiteral("zarn-tool"));
    writer.setResolution(kResolution);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(15, 12, 12, 12), QPageLayout::Millimeter);

    QTextDocument document;
    QFont font = document.defaultFont();
    font.setPointSizeF(kFontPoints);
    document.setDefaultFont(font);
    // Filled before anything lays it out: laying out a table row by row as it grows takes
    // quadratic time (and crashed Qt 6.4 once the header row repeats).
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    addHeading(cursor, report);
    addTable(cursor, report);
    cursor.endEditBlock();
    // Laid out at the writer's resolution, so that the points above are points on paper.
    document.documentLayout()->setPaintDevice(&writer);

    QPainter painter(&writer);
    painter.setFont(font);
    const QRectF paper = writer.pageLayout().paintRectPixels(kResolution);
    const qreal footer = 2 * painter.fontMetrics().height();
    const QRectF body(0, 0, paper.width(), paper.height() - footer);
    document.setPageSize(body.size());
    const int pages = document.pageCount();
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            writer.newPage();
        painter.save();
        painter.translate(0, -page * body.height());
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = body.translated(0, page * body.height());
        painter.setClipRect(context.clip);
        document.documentLayout()->draw(&painter, context);
        painter.restore();
        painter.drawText(QRectF(0, body.height(), body.width(), footer),
                         Qt::AlignRight | Qt::AlignBottom,
                         QStringLiteral("Страница %1 из %2").arg(page + 1).arg(pages));
    }
    painter.end();
    return buffer.data();
}

} // namespace

QString WriteParamReport(const ParamReport& report, const QString& path) {
    return WriteWholeFile(path, reportPdf(report));
}

QString ReportFileName(const QString& typed) {
    return WithExtension(typed, QStringLiteral(".pdf"));
}

bool SaveParamReport(StatusLine& status, MessageBoxService& messages, const ParamReport& report,
                     const QString& folder, const QString& typed) {
    const PickedFileSave save{QStringLiteral("Сохранение отчёта "),
                              QStringLiteral("Создание файла отчёта"), true};
    return SaveToPickedFile(
        status, messages, save, folder, ReportFileName(typed),
        [&report](const QString& path) { return WriteParamReport(report, path); });
}
