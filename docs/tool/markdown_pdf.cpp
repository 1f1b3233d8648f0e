// zelvo-doc-pdf: the documentation's build tool.
//
//   zelvo-doc-pdf SOURCE.md OUTPUT.pdf   Markdown (with its PNG pictures,
//                                        found beside the source) to a PDF
//                                        of A4 pages with page numbers
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
#include <QTextImageFormat>
#include <QImage>
#include <QUrl>
#include <cstdio>

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

  // Written under a temporary name and renamed: never a half-written PDF.
  const QString partial = output + ".part";
  {
    QPdfWriter writer(partial);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(18, 16, 18, 16), QPageLayout::Millimeter);
    writer.setResolution(300);
    writer.setTitle(document.toPlainText().section('\n', 0, 0));
    writer.setCreator("Zelvo");
    document.print(&writer);
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
