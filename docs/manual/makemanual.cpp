// Renders the user manual (HTML) to PDF with Qt's own text layout, so the build needs nothing
// beyond Qt. Usage: kt_makemanual <manual.html> <model> <output.pdf> [<model> <output.pdf> ...]
// "{{MODEL}}" in the HTML is replaced by the model name of each output.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

#include <cstdio>

namespace {
bool render(const QString &html, const QString &model, const QString &output)
{
    QDir().mkpath(QFileInfo(output).absolutePath());
    QPdfWriter writer(output);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(18, 16, 18, 16), QPageLayout::Millimeter);
    writer.setResolution(300);
    writer.setTitle(QStringLiteral("KRN4-%1 ktTintora").arg(model));
    writer.setCreator(QStringLiteral("ktTintora"));

    QTextDocument doc;
    // A font that has the Chinese glyphs (Debian: fonts-wqy-microhei); Qt falls back per glyph
    // to whatever is installed when it is missing.
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPointSizeF(10.5);
    doc.setDefaultFont(font);
    doc.setHtml(QString(html).replace(QLatin1String("{{MODEL}}"), model));
    // Without a page size of its own the document is paginated on the writer's page, with the
    // fonts scaled to its resolution.
    doc.print(&writer);
    return QFileInfo(output).size() > 0;
}
} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM",
            qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    if (argc < 4 || (argc - 2) % 2 != 0) {
        std::fputs("usage: kt_makemanual <manual.html> <model> <output.pdf> [<model> <output.pdf> ...]\n",
                   stderr);
        return 2;
    }
    QFile source(QString::fromLocal8Bit(argv[1]));
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "kt_makemanual: cannot read %s\n", argv[1]);
        return 1;
    }
    const QString html = QString::fromUtf8(source.readAll());
    for (int i = 2; i + 1 < argc; i += 2) {
        if (!render(html, QString::fromLocal8Bit(argv[i]), QString::fromLocal8Bit(argv[i + 1]))) {
            std::fprintf(stderr, "kt_makemanual: cannot write %s\n", argv[i + 1]);
            return 1;
        }
    }
    return 0;
}
