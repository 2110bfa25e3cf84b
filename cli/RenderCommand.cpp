// render: the picture that a diagram window of a given client size shows,
// written as PNG, PDF or SVG; --trace also prints every drawing operation.
// With -o - the picture goes to the standard output; with --output-dir it
// draws several files, one picture each.
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/StandardOutput.h"
#include "cli/StreamingTraceContext.h"
#include "diagram/EscapedText.h"
#include "diagram/InvalidArgumentError.h"
#include "diagram/Numbers.h"
#include "qtdraw/PictureFile.h"
#include "qtdraw/QtDrawContext.h"

#include <QGuiApplication>

#include <charconv>
#include <clocale>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>

namespace {

constexpr int kMaxSide = 8192;
// The pixel ratios a picture may be drawn at.
constexpr double kMinScale = 0.5;
constexpr double kMaxScale = 8.0;
constexpr std::string_view kStandardOutput = "-";

struct RenderOptions {
    LoadOptions load; // the range options; each file is loaded with them
    std::vector<std::string> files;
    std::string output;
    std::string outputDir;
    std::string format = "png"; // of the picture of -o - and of those in outputDir
    bool formatGiven = false;   // --format was on the command line
    std::string size = "800x500";
    double scale = 1.0; // device pixels per window pixel of a PNG
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
// change how numbers are written. It is made for the first picture, after its
// file has loaded, and serves every later one.
class GuiApplication {
public:
    void Ensure() {
        if (application)
            return;
        qInstallMessageHandler(QtMessage);
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "kelvaro-cli";
        static char* argv[] = {name, nullptr};
        application = std::make_unique<QGuiApplication>(argc, argv);
        std::setlocale(LC_NUMERIC, "C");
    }

private:
    std::unique_ptr<QGuiApplication> application;
};

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

// The picture made whole, then written to stdout; the exit code. A reader
// that goes away early (a closed pipe) fails the write with one message.
int PaintToStandardOutput(PictureFormat format, QSize size, double scale,
                          const std::function<void(QPainter&)>& paint) {
    QByteArray bytes;
    if (!PaintPictureBytes(format, size, paint, bytes, scale)) {
        std::cerr << "error: the picture could not be made" << std::endl;
        return 1;
    }
    std::string error;
    if (!WriteToStandardOutput(std::string_view(bytes.constData(), bytes.size()), error)) {
        std::cerr << "error: the picture could not be written to the standard output: " << error
                  << std::endl;
        return 1;
    }
    return 0;
}

// Draws file into the picture output ("-" for stdout); the exit code.
int Render(const RenderOptions& o, const std::string& file, const std::string& output,
           PictureFormat format, GuiApplication& application) {
    const QSize size = *ParseSize(o.size);
    const bool toStandardOutput = output == kStandardOutput;
    TerminalHost host(Rect{0, 0, size.width(), size.height()});
    // The picture is all that goes to stdout.
    if (toStandardOutput)
        host.informationOut = &std::cerr;
    CDiagram diagram(&host);
    LoadOptions load = o.load;
    load.file = file;
    load.needsSpectrum = o.spectrum;
    if (!LoadDiagram(load, diagram, host))
        return 1;
    ApplyOptions(o, diagram);
    diagram.PrepareNumbers();

    application.Ensure();
    // A PNG is drawn at the ratio asked for; a PDF or SVG has no pixels of its own.
    const double scale = format == PictureFormat::Png ? o.scale : 1.0;
    const auto paint = [&](QPainter& painter) {
        CQtDrawContext picture(painter, scale);
        if (!o.trace) {
            diagram.Paint(picture);
            return;
        }
        CStreamingTraceContext trace(DiagramFontNames(diagram), picture, std::cout);
        diagram.Paint(trace);
    };
    if (toStandardOutput)
        return PaintToStandardOutput(format, size, scale, paint);
    std::string error;
    if (!WritePicture(output, format, size, paint, error, scale)) {
        std::cerr << "error: " << EscapeControlBytes(error) << std::endl;
        return 1;
    }
    std::cout.flush();
    if (o.trace && !std::cout) {
        std::cerr << "error: the trace could not be written to the standard output" << std::endl;
        return 1;
    }
    return 0;
}

// The file's name without its extension ("stdin" for standard input); empty
// for a path that ends in a folder separator.
std::string PictureName(const std::string& file) {
    return std::filesystem::path(InputPath(file)).stem().string();
}

// The picture of file in outputDir: its name with the format's extension.
std::string OutputPath(const RenderOptions& o, const std::string& file) {
    return (std::filesystem::path(o.outputDir) / PictureName(file)).string() + "." + o.format;
}

// Every file needs a name of its own for its picture: two files of one name
// in different folders would overwrite each other's. Usage errors, found
// before anything is drawn.
void CheckPictureNames(const RenderOptions& o) {
    const auto shown = [](const std::string& file) { return EscapeControlBytes(InputName(file)); };
    std::map<std::string, std::string> fileOf;
    for (const std::string& file : o.files) {
        if (PictureName(file).empty())
            throw CLI::ValidationError("FILE", shown(file) + " has no name to name its picture by");
        const auto [at, added] = fileOf.emplace(OutputPath(o, file), file);
        if (!added)
            throw CLI::ValidationError("--output-dir", shown(at->second) + " and " + shown(file) +
                                                           " would both be drawn to " +
                                                           EscapeControlBytes(at->first));
    }
}

// Draws every file into outputDir, going on after a file that fails; each
// failure is named. The exit code is 1 when any failed.
int RenderEach(const RenderOptions& o) {
    GuiApplication application;
    int failed = 0;
    for (const std::string& file : o.files) {
        const std::string output = OutputPath(o, file);
        const PictureFormat format = *PictureFormatFor(output);
        if (RunGuarded([&] { return Render(o, file, output, format, application); }) != 0) {
            ++failed;
            std::cerr << "error: " << EscapeControlBytes(InputName(file)) << ": no picture written"
                      << std::endl;
        }
    }
    return failed == 0 ? 0 : 1;
}

// The format named by --format ("png", "pdf" or "svg", as its check leaves
// it).
PictureFormat FormatNamed(const std::string& name) {
    return name == "pdf"   ? PictureFormat::Pdf
           : name == "svg" ? PictureFormat::Svg
                           : PictureFormat::Png;
}

// The format of the picture of -o: --format's for stdout, the extension's
// for a file.
PictureFormat OutputFormat(const RenderOptions& o) {
    return o.output == kStandardOutput ? FormatNamed(o.format) : *PictureFormatFor(o.output);
}

// One picture into -o, or one per file into --output-dir. A --format given
// with -o FILE must name FILE's format, and --trace cannot share stdout with
// a picture.
void CheckOutputs(const RenderOptions& o) {
    if (o.output.empty() && o.outputDir.empty())
        throw CLI::RequiredError("--output or --output-dir");
    if (!o.output.empty() && o.files.size() > 1)
        throw CLI::ValidationError("--output",
                                   "names one picture; draw several files with --output-dir DIR");
    if (o.output == kStandardOutput && o.trace)
        throw CLI::ValidationError("--trace", "the trace cannot go to the standard output with "
                                              "the picture of -o -; write the picture to a file");
    if (!o.output.empty() && o.output != kStandardOutput && o.formatGiven &&
        FormatNamed(o.format) != *PictureFormatFor(o.output))
        throw CLI::ValidationError("--format", o.format + " is not the format of " +
                                                   EscapeControlBytes(o.output) +
                                                   ", which its extension picks");
    if (!o.outputDir.empty())
        CheckPictureNames(o);
    const QSize pixels = DeviceSize(*ParseSize(o.size), o.scale);
    if (pixels.width() > kMaxSide || pixels.height() > kMaxSide)
        throw CLI::ValidationError(
            "--scale", FormatC("at %g the picture would be %dx%d pixels; at most %d on a side",
                               o.scale, pixels.width(), pixels.height(), kMaxSide));
}

} // namespace

void AddRenderCommand(CLI::App& app, int& exitCode) {
    auto o = std::make_shared<RenderOptions>();
    CLI::App* command =
        app.add_subcommand("render", "Draw the diagram as a window of the given size shows it, "
                                     "one file into -o or several into --output-dir");
    command->add_option("FILE", o->files, "Data files, - for standard input")->required();
    AddRangeOptions(*command, o->load);
    CLI::Option* output =
        command
            ->add_option("-o,--output", o->output,
                         "Picture file, its format by its extension: .png, .pdf or .svg; or - "
                         "for the standard output, in the --format")
            ->check(CLI::Validator(
                [](std::string& path) {
                    return path == kStandardOutput || PictureFormatFor(path)
                               ? std::string()
                               : "the picture file must end in .png, .pdf or .svg, or be - "
                                 "for the standard output";
                },
                "PNG|PDF|SVG|-"));
    CLI::Option* outputDir =
        command
            ->add_option("--output-dir", o->outputDir,
                         "Draw each FILE into DIR/NAME.png (or the --format), NAME being the "
                         "file's name without its extension")
            ->type_name("DIR")
            ->check(CLI::ExistingDirectory)
            ->excludes(output);
    CLI::Option* format =
        command
            ->add_option("--format", o->format,
                         "Format of the picture of -o - and of the pictures in --output-dir "
                         "(default png); with -o FILE it may only repeat the format FILE's "
                         "extension picks, anything else is a usage error")
            ->type_name("png|pdf|svg")
            ->transform(CLI::IsMember({"png", "pdf", "svg"}, CLI::ignore_case));
    command->add_option("--size", o->size, "Client size of the window, WxH (default 800x500)")
        ->check(CLI::Validator(
            [](std::string& text) {
                return ParseSize(text)
                           ? std::string()
                           : "the size must be WxH, each from 1 to " + std::to_string(kMaxSide);
            },
            "WxH"));
    command
        ->add_option("--scale", o->scale,
                     "Device pixels per window pixel of a PNG (default 1): the picture a window "
                     "shows on a screen scaled by R; PDF and SVG are drawn as at 1")
        ->type_name("R")
        ->check(CLI::Range(kMinScale, kMaxScale));
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
    command
        ->add_flag("--trace", o->trace,
                   "Print every drawing operation on stdout (not with -o -, whose picture "
                   "stdout carries)")
        ->excludes(outputDir);
    command->callback([o, format, &exitCode] {
        if (o->yFixed.size() == 2 && !(o->yFixed[1] > 0))
            throw CLI::ValidationError("--y-fixed", "DELTA must be greater than 0");
        o->formatGiven = format->count() > 0;
        CheckOutputs(*o);
        if (!o->outputDir.empty()) {
            exitCode = RenderEach(*o);
            return;
        }
        exitCode = RunGuarded([&] {
            GuiApplication application;
            return Render(*o, o->files.front(), o->output, OutputFormat(*o), application);
        });
    });
}
