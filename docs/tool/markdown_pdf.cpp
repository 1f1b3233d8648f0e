// zelvo-doc-pdf: the documentation's build tool.
//
//   zelvo-doc-pdf SOURCE.md OUTPUT.pdf   Markdown (with its PNG pictures,
//                                        found beside the source) to a PDF
//                                        of A4 pages with page numbers and
//                                        a contents page
//   zelvo-doc-pdf --pictures FOLDER      draws the pictures the documents
//                                        show (generator shapes, play modes,
//                                        tone types) as PNG files
//
// Qt's own Markdown reader and PDF writer: nothing beyond the Qt the window
// already needs. Runs without a display (QT_QPA_PLATFORM=offscreen).
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextTable>
#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextImageFormat>
#include <QImage>
#include <QUrl>
#include <cstdio>
#include <vector>

#include "pictures.h"

namespace {

int usage() {
  std::fputs("usage: zelvo-doc-pdf SOURCE.md OUTPUT.pdf\n       zelvo-doc-pdf --pictures FOLDER\n", stderr);
  return 2;
}

// The document's look: a readable body face, tables with lines, code in a
// fixed face on a light ground.
const char* kStyle =
    "body { font-family: 'DejaVu Sans'; font-size: 10pt; }"
    "h1 { font-size: 20pt; margin-top: 18pt; } h2 { font-size: 15pt; margin-top: 14pt; }"
    "h3 { font-size: 12pt; margin-top: 10pt; }"
    "pre, code { font-family: 'DejaVu Sans Mono'; font-size: 9pt; }"
    "pre { background-color: #f2f2f2; }"
    "table { border-collapse: collapse; } td, th { padding: 2px 4px; border: 1px solid #999; }";

// Every picture the document names, loaded from beside the source and
// shown at the size it was drawn for (its own dots per inch).
bool add_pictures(QTextDocument& document, const QString& folder) {
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      if (!fragment.charFormat().isImageFormat()) continue;
      QTextImageFormat format = fragment.charFormat().toImageFormat();
      const QString name = format.name();
      QImage image(folder + "/" + name);
      if (image.isNull()) {
        std::fprintf(stderr, "zelvo-doc-pdf: cannot read the picture %s\n", qPrintable(name));
        return false;
      }
      document.addResource(QTextDocument::ImageResource, QUrl(name), image);
      // Widths in points of the page: the pictures are drawn at 192 dots
      // per inch.
      QTextCursor cursor(&document);
      cursor.setPosition(fragment.position());
      cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
      format.setWidth(image.width() * 72.0 / 192.0 * 1.2);
      format.setHeight(image.height() * 72.0 / 192.0 * 1.2);
      cursor.setCharFormat(format);
    }
  }
  return true;
}

// What the Markdown reader leaves plain: code blocks get their light
// ground, and a wide table (a generator table as a spreadsheet shows it)
// a small face so that its words fit their columns.
void dress(QTextDocument& document) {
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    if (!block.blockFormat().nonBreakableLines()) continue;
    QTextCursor cursor(block);
    QTextBlockFormat format = block.blockFormat();
    format.setBackground(QColor(0xf2, 0xf2, 0xf2));
    cursor.setBlockFormat(format);
  }
  QList<QTextFrame*> frames = document.rootFrame()->childFrames();
  for (int i = 0; i < frames.size(); ++i) {
    auto* table = qobject_cast<QTextTable*>(frames[i]);
    if (table == nullptr || table->columns() <= 8) continue;
    QTextCursor cursor = table->firstCursorPosition();
    cursor.setPosition(table->lastCursorPosition().position(), QTextCursor::KeepAnchor);
    QTextCharFormat small;
    small.setFontPointSize(table->columns() > 14 ? 6 : 7.5);
    cursor.mergeCharFormat(small);
  }
}

// The contents: the paragraph of one line that names the chapters before
// the first of them ("Contents: 1 Getting started · …") becomes a page
// titled by its first word, listing every chapter and section with the
// page it starts on. Each chapter starts a page.
struct Entry {
  QTextBlock heading;
  int level;
  QTextTableCell page;  // its page number's cell
};

QTextBlock contents_paragraph(QTextDocument& document) {
  for (QTextBlock block = document.begin().next(); block.isValid(); block = block.next()) {
    if (block.blockFormat().headingLevel() > 0) break;
    const QString text = block.text();
    const int colon = text.indexOf(':');
    if (colon > 0 && !text.left(colon).contains(' ')) return block;
  }
  return {};
}

void insert_contents(QTextDocument& document, std::vector<Entry>& entries) {
  const QTextBlock paragraph = contents_paragraph(document);
  if (!paragraph.isValid()) return;
  for (QTextBlock block = paragraph.next(); block.isValid(); block = block.next()) {
    const int level = block.blockFormat().headingLevel();
    if (level == 1) {
      QTextCursor cursor(block);
      QTextBlockFormat format = block.blockFormat();
      format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
      cursor.setBlockFormat(format);
    }
    if (level == 1 || level == 2) entries.push_back({block, level, {}});
  }
  const QString title = paragraph.text().section(':', 0, 0);
  QTextCursor cursor(paragraph);
  cursor.select(QTextCursor::BlockUnderCursor);
  cursor.movePosition(QTextCursor::StartOfBlock);
  cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  cursor.removeSelectedText();
  QTextBlockFormat heading;
  heading.setHeadingLevel(1);
  heading.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
  heading.setBottomMargin(12);
  QTextCharFormat big;
  big.setFontPointSize(20);
  big.setFontWeight(QFont::Bold);
  cursor.setBlockFormat(heading);
  cursor.insertText(title, big);

  QTextTableFormat table;
  table.setBorder(0);
  table.setCellPadding(1);
  table.setWidth(QTextLength(QTextLength::PercentageLength, 100));
  table.setColumnWidthConstraints({QTextLength(QTextLength::PercentageLength, 90),
                                   QTextLength(QTextLength::PercentageLength, 10)});
  cursor.movePosition(QTextCursor::EndOfBlock);
  QTextTable* list = cursor.insertTable(int(entries.size()), 2, table);
  QTextCharFormat plain;
  plain.setFontPointSize(10);
  plain.setFontWeight(QFont::Normal);
  for (size_t i = 0; i < entries.size(); ++i) {
    QTextCharFormat text = plain;
    if (entries[i].level == 1) text.setFontWeight(QFont::Bold);
    QTextCursor name = list->cellAt(int(i), 0).firstCursorPosition();
    QTextBlockFormat indent;
    indent.setLeftMargin(entries[i].level == 1 ? 0 : 90);  // device pixels: 300 a inch
    indent.setTopMargin(entries[i].level == 1 ? 24 : 0);
    name.setBlockFormat(indent);
    name.insertText(entries[i].heading.text(), text);
    QTextCursor page = list->cellAt(int(i), 1).firstCursorPosition();
    QTextBlockFormat right;
    right.setAlignment(Qt::AlignRight);
    right.setTopMargin(indent.topMargin());
    page.setBlockFormat(right);
    page.insertText("000", text);  // the widest a number gets: filling it in moves no line
    entries[i].page = list->cellAt(int(i), 1);
  }
}

// The page a laid-out block starts on, counted from 1.
int page_of(QTextDocument& document, const QTextBlock& block) {
  const double top = document.documentLayout()->blockBoundingRect(block).top();
  return int(top / document.pageSize().height()) + 1;
}

void fill_pages(QTextDocument& document, const std::vector<Entry>& entries) {
  std::vector<int> pages;
  for (const Entry& entry : entries) pages.push_back(page_of(document, entry.heading));
  for (size_t i = 0; i < entries.size(); ++i) {
    QTextCursor cursor = entries[i].page.firstCursorPosition();
    cursor.setPosition(entries[i].page.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    cursor.insertText(QString::number(pages[i]));
  }
}

int make_pdf(const QString& source, const QString& output) {
  QFile file(source);
  if (!file.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "zelvo-doc-pdf: cannot read %s\n", qPrintable(source));
    return 1;
  }
  QTextDocument document;
  document.setDefaultStyleSheet(kStyle);
  QFont font("DejaVu Sans", 10);
  document.setDefaultFont(font);
  // Pictures are named relative to the source.
  document.setBaseUrl(QUrl::fromLocalFile(QFileInfo(source).absolutePath() + "/"));
  document.setMarkdown(QString::fromUtf8(file.readAll()), QTextDocument::MarkdownDialectGitHub);
  if (!add_pictures(document, QFileInfo(source).absolutePath())) return 1;
  dress(document);
  std::vector<Entry> entries;
  insert_contents(document, entries);

  // Written under a temporary name and renamed: never a half-written PDF.
  const QString partial = output + ".part";
  {
    QPdfWriter writer(partial);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(18, 16, 18, 16), QPageLayout::Millimeter);
    writer.setResolution(300);
    writer.setTitle(document.toPlainText().section('\n', 0, 0));
    writer.setCreator("Zelvo");
    // Laid out on the writer's own pages, less a strip at the foot for the
    // page number, so the contents can say where each heading falls.
    QPainter painter(&writer);
    const double footer = 10 / 25.4 * writer.resolution();
    const QSizeF page(writer.width(), writer.height() - footer);
    document.documentLayout()->setPaintDevice(&writer);
    document.setPageSize(page);
    fill_pages(document, entries);
    painter.setFont(QFont("DejaVu Sans", 9));
    for (int number = 0; number < document.pageCount(); ++number) {
      if (number > 0) writer.newPage();
      const QRectF view(0, number * page.height(), page.width(), page.height());
      painter.save();
      painter.translate(0, -view.top());
      painter.setClipRect(view);
      QAbstractTextDocumentLayout::PaintContext context;
      context.clip = view;
      context.palette.setColor(QPalette::Text, Qt::black);
      document.documentLayout()->draw(&painter, context);
      painter.restore();
      painter.drawText(QRectF(0, page.height(), page.width(), footer), Qt::AlignRight | Qt::AlignBottom,
                       QString::number(number + 1));
    }
  }
  QFile::remove(output);
  if (QFileInfo(partial).size() == 0 || !QFile::rename(partial, output)) {
    QFile::remove(partial);
    std::fprintf(stderr, "zelvo-doc-pdf: cannot write %s\n", qPrintable(output));
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  const QStringList args = QGuiApplication::arguments();
  if (args.size() == 3 && args[1] == "--pictures") {
    QDir().mkpath(args[2]);
    return zelvo_docs::draw_pictures(args[2]) ? 0 : 1;
  }
  if (args.size() != 3) return usage();
  return make_pdf(args[1], args[2]);
}
