// render: the picture that a diagram window of a given client size shows,
// written as PNG, PDF or SVG; --trace also prints every drawing operation.
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/StreamingTraceContext.h"
#include "diagram/EscapedText.h"
#include "diagram/InvalidArgumentError.h"
#include "qtdraw/PictureFile.h"
#include "qtdraw/QtDrawContext.h"

#include <QGuiApplication>

#include <charconv>
#include <clocale>
#include <iostream>
#include <memory>

namespace {

constexpr int kMaxSide = 8192;

struct RenderOptions {
    LoadOptions load;
    std::string output;
    std::string size = "800x500";
    bool spectrum = false;
    std::optional<double> marker;
    bool marks = false;
    bool noLegend = false;
    bool noGridX = false;
    bool noGridY = false;
    std::optional<int> lineWidth;
    std::vector<double> yFixed; // empty, or MIN and DELTA
    std::vector<int> hide;
    bool trace = false;
};

// "WxH" with both sides from 1 to kMaxSide pixels.
std::optional<QSize> ParseSize(const std::string& text) {
    const std::size_t x = text.find('x');
    if (x == std::string::npos)
        return std::nullopt;
    int width = 0, height = 0;
    const char* begin = text.data();
    const char* end = begin + text.size();
    const auto w = std::from_chars(begin, begin + x, width);
    const auto h = std::from_chars(begin + x + 1, end, height);
    if (w.ec != std::errc() || w.ptr != begin + x || h.ec != std::errc() || h.ptr != end)
        return std::nullopt;
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide)
        return std::nullopt;
    return QSize(width, height);
}

// stderr carries only the tool's own "warning:" and "error:" lines; Qt's
// notes about its environment (such as a missing runtime directory) are
// dropped, its errors kept.
void QtMessage(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::cerr << "error: Qt: " << EscapeControlBytes(message.toStdString()) << std::endl;
}

// Qt needs an application object for its fonts; the batch tool always draws
// off screen unless told otherwise. The object's locale set-up must not
// change how numbers are written.
std::unique_ptr<QGuiApplication> MakeGuiApplication() {
    qInstallMessageHandler(QtMessage);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "kelvaro-cli";
    static char* argv[] = {name, nullptr};
    auto application = std::make_unique<QGuiApplication>(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    return application;
}

void ApplyOptions(const RenderOptions& o, CDiagram& diagram) {
    if (o.spectrum)
        diagram.showSpectrum = true;
    if (o.marker)
        diagram.markerX = *o.marker;
    if (o.marks)
        diagram.showMarks = true;
    if (o.noLegend)
        diagram.showLegend = false;
    if (o.noGridX)
        diagram.xShowNet = false;
    if (o.noGridY)
        diagram.yShowNet = false;
    if (o.lineWidth)
        diagram.lineWidth = *o.lineWidth;
    if (o.yFixed.size() == 2) {
        diagram.yAutoscale = false;
        diagram.yMin = o.yFixed[0];
        diagram.yDelta = o.yFixed[1];
    }
    for (int index : o.hide) {
        if (index >= diagram.columnCount)
            throw InvalidArgumentError("--hide " + std::to_string(index) +
                                       ": the table has no column " + std::to_string(index) +
                                       " (its columns after X are 1 to " +
                                       std::to_string(diagram.columnCount - 1) + ")");
        diagram.columns[index].visible = 0;
    }
}

int Render(const RenderOptions& o) {
    const QSize size = *ParseSize(o.size);
    TerminalHost host(Rect{0, 0, size.width(), size.height()});
    CDiagram diagram(&host);
    if (!LoadDiagram(o.load, diagram))
        return 1;
    ApplyOptions(o, diagram);

    const auto application = MakeGuiApplication();
    const auto paint = [&](QPainter& painter) {
        CQtDrawContext picture(painter);
        if (!o.trace) {
            diagram.Paint(picture);
            return;
        }
        CStreamingTraceContext trace(DiagramFontNames(diagram), picture, std::cout);
        diagram.Paint(trace);
    };
    std::string error;
    if (!WritePicture(o.output, *PictureFormatFor(o.output), size, paint, error)) {
        std::cerr << "error: " << EscapeControlBytes(error) << std::endl;
        return 1;
    }
    return 0;
}

} // namespace

void AddRenderCommand(CLI::App& app, int& exitCode) {
    auto o = std::make_shared<RenderOptions>();
    CLI::App* command =
        app.add_subcommand("render", "Draw the diagram as a window of the given size shows it");
    AddLoadOptions(*command, o->load);
    command->add_option("-o,--output", o->output, "Picture file: .png, .pdf or .svg")
        ->required()
        ->check(CLI::Validator(
            [](std::string& path) {
                return PictureFormatFor(path) ? std::string()
                                              : "the picture file must end in .png, .pdf or .svg";
            },
            "PNG|PDF|SVG"));
    command->add_option("--size", o->size, "Client size of the window, WxH (default 800x500)")
        ->check(CLI::Validator(
            [](std::string& text) {
                return ParseSize(text)
                           ? std::string()
                           : "the size must be WxH, each from 1 to " + std::to_string(kMaxSide);
            },
            "WxH"));
    command->add_flag("--spectrum", o->spectrum, "Show the spectrum column");
    command->add_option("--marker", o->marker, "Draw the marker line at this X value");
    command->add_flag("--marks", o->marks, "Mark every data point");
    command->add_flag("--no-legend", o->noLegend, "Leave out the legend");
    command->add_flag("--no-grid-x", o->noGridX, "Ticks instead of vertical grid lines");
    command->add_flag("--no-grid-y", o->noGridY, "Ticks instead of horizontal grid lines");
    command->add_option("--line-width", o->lineWidth, "Pen width of the curves in pixels")
        ->check(CLI::Range(1, 100));
    command->add_option("--y-fixed", o->yFixed, "Fixed Y scale: bottom value and value per step")
        ->expected(2)
        ->type_name("MIN DELTA");
    command->add_option("--hide", o->hide, "Hide the curve of this column (1 is the first after X)")
        ->check(CLI::PositiveNumber);
    command->add_flag("--trace", o->trace, "Print every drawing operation on stdout");
    command->callback([o, &exitCode] {
        if (o->yFixed.size() == 2 && !(o->yFixed[1] > 0))
            throw CLI::ValidationError("--y-fixed", "DELTA must be greater than 0");
        exitCode = RunGuarded([&] { return Render(*o); });
    });
}
