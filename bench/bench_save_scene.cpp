// Saves a scene whose extra animation is a long series of frames, and times
// it per frame in one run beside two loops over the same frames and cut:
// - plain: QImage loads each file whole, cuts it and saves it as JPEG at the
//   same quality (the whole-load way the program once had);
// - limit: libjpeg reads the file, takes the rows of the cut, encodes them
//   and writes the file, with one sync at the end: about as fast as it goes;
// and, for JPEG sources, Qt's own clipped read (QImageReader::setClipRect).
// Four series: 640 x 480 BMP and 1920 x 1080 JPEG frames (gradients and
// noise, so the encoder has real work), each cut small (the extra designer's
// starting box) and large (480 x 360). Every measurement runs in a process
// of its own, three times (the median counts), so that its peak memory
// (VmHWM) is its own.

#include "core/pictures/ImageWorkspace.h"
#include "core/scene/FrameSetFiles.h"
#include "core/scene/SceneDocument.h"
#include "core/system/Services.h"
#include "platform/WindowServices.h"
#include "designers/frmFormDesignE.h"
#include "platform/Form.h"
#include "scene/SaveScene.h"

#include "bench/BenchSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QLineEdit>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

extern "C" {
#include <jpeglib.h>
}

namespace {

constexpr int kRuns = 3;

struct Series {
    const char *name;
    int width, height, frames;
    const char *format; // of the source frames
    bool large;         // the 480 x 360 cut, else the designer's starting box
};

const Series kSeries[] = {
    {"640 x 480 BMP, small cut", 640, 480, 1000, "BMP", false},
    {"640 x 480 BMP, 480 x 360 cut", 640, 480, 1000, "BMP", true},
    {"1920 x 1080 JPEG, small cut", 1920, 1080, 300, "JPEG", false},
    {"1920 x 1080 JPEG, 480 x 360 cut", 1920, 1080, 300, "JPEG", true},
};

// Messages are printed instead of shown, so that the run never waits.
class PrintedMessages : public MessageService {
public:
    QStringList shown;
    MsgResult show(const QString &text, MsgButtons, const QString &, MsgIcon) override
    {
        shown << text;
        return MsgResult::Ok;
    }
};

class Folders : public EnvironmentService {
public:
    QString documents;
    QString documentsFolder() const override { return documents; }
    QString programFolder() const override { return QCoreApplication::applicationDirPath(); }
    QString configFolder() const override { return documents + QStringLiteral("/config"); }
    QString picturesFolder() const override { return documents; }
    double twipsPerPixelX() const override { return 15; }
    double twipsPerPixelY() const override { return 15; }
};

QString extOf(const Series &s)
{
    return QLatin1String(qstrcmp(s.format, "BMP") == 0 ? ".bmp" : ".jpg");
}

QString frameName(const QString &folder, const QString &ext, int n)
{
    return folder + frameFileName(QStringLiteral("Walk"), n, ext);
}

// --- the loops, each in a process of its own ------------------------------

struct Job {
    QString loop, folder, ext, out;
    int frames = 0;
    PixelCrop crop;
};

bool plainLoop(const Job &job)
{
    for (int n = 1; n <= job.frames; ++n) {
        QImageReader reader(frameName(job.folder, job.ext, n));
        const QImage cut = reader.read().copy(job.crop.x, job.crop.y, job.crop.width, job.crop.height);
        QImageWriter writer(job.out + QStringLiteral("Extra%1.jpg").arg(n), "JPEG");
        writer.setQuality(JpegQuality);
        if (!writer.write(cut))
            return false;
    }
    return true;
}

bool qtClipLoop(const Job &job)
{
    for (int n = 1; n <= job.frames; ++n) {
        QImageReader reader(frameName(job.folder, job.ext, n));
        reader.setClipRect(QRect(job.crop.x, job.crop.y, job.crop.width, job.crop.height));
        const QImage cut = reader.read();
        QImageWriter writer(job.out + QStringLiteral("Extra%1.jpg").arg(n), "JPEG");
        writer.setQuality(JpegQuality);
        if (!writer.write(cut))
            return false;
    }
    return true;
}

// libjpeg alone: the rows of the cut go straight from the file (BMP) or the
// decoder (JPEG) into the encoder; one sync for all files at the end.
class LimitLoop {
public:
    explicit LimitLoop(const Job &job) : m_job(job) {}
    bool run()
    {
        const QByteArray outFolder = QFile::encodeName(m_job.out);
        for (int n = 1; n <= m_job.frames; ++n) {
            const QByteArray source = QFile::encodeName(frameName(m_job.folder, m_job.ext, n));
            const int fd = ::open(source.constData(), O_RDONLY | O_CLOEXEC);
            if (fd < 0)
                return false;
            const bool cut = m_job.ext == QLatin1String(".bmp") ? readBmpRows(fd) : readJpegRows(fd);
            ::close(fd);
            if (!cut || !encode())
                return false;
            const QByteArray target = outFolder + "Extra" + QByteArray::number(n) + ".jpg";
            const int out = ::open(target.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
            if (out < 0 || ::write(out, m_encoded, m_encodedSize) != ssize_t(m_encodedSize))
                return false;
            ::close(out);
        }
        const int folder = ::open(outFolder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        const bool synced = folder >= 0 && ::syncfs(folder) == 0;
        ::close(folder);
        std::free(m_encoded);
        return synced;
    }

private:
    // 24-bit bottom-up rows of the cut, as blue-green-red.
    bool readBmpRows(int fd)
    {
        unsigned char head[54];
        if (::pread(fd, head, sizeof head, 0) != ssize_t(sizeof head))
            return false;
        auto le = [&](int at) { return head[at] | head[at + 1] << 8 | head[at + 2] << 16 | head[at + 3] << 24; };
        const int width = le(18), height = le(22), dataStart = le(10);
        const long rowBytes = (long(width) * 24 + 31) / 32 * 4;
        const PixelCrop &c = m_job.crop;
        const long firstRow = height - (c.y + c.height);
        m_file.resize(size_t(rowBytes * c.height));
        if (::pread(fd, m_file.data(), m_file.size(), dataStart + firstRow * rowBytes) != ssize_t(m_file.size()))
            return false;
        m_rows.resize(size_t(c.height));
        for (int y = 0; y < c.height; ++y)
            m_rows[size_t(y)] = m_file.data() + (c.height - 1 - y) * rowBytes + c.x * 3;
        m_space = JCS_EXT_BGR;
        m_components = 3;
        return true;
    }

    bool readJpegRows(int fd)
    {
        const off_t size = ::lseek(fd, 0, SEEK_END);
        m_file.resize(size_t(size));
        if (::pread(fd, m_file.data(), size_t(size), 0) != size)
            return false;
        jpeg_decompress_struct info;
        jpeg_error_mgr errors;
        info.err = jpeg_std_error(&errors);
        jpeg_create_decompress(&info);
        jpeg_mem_src(&info, m_file.data(), (unsigned long)size);
        jpeg_read_header(&info, TRUE);
        info.out_color_space = JCS_EXT_BGRX;
        jpeg_start_decompress(&info);
        const PixelCrop &c = m_job.crop;
        JDIMENSION first = JDIMENSION(c.x), columns = JDIMENSION(c.width);
        jpeg_crop_scanline(&info, &first, &columns);
        const long stride = long(info.output_width) * 4;
        m_pixels.resize(size_t(stride * c.height));
        jpeg_skip_scanlines(&info, JDIMENSION(c.y));
        m_rows.resize(size_t(c.height));
        for (int y = 0; y < c.height; ++y)
            m_rows[size_t(y)] = m_pixels.data() + y * stride + (c.x - long(first)) * 4;
        while (info.output_scanline < JDIMENSION(c.y + c.height)) {
            JSAMPROW row = m_pixels.data() + (info.output_scanline - JDIMENSION(c.y)) * stride;
            jpeg_read_scanlines(&info, &row, 1);
        }
        jpeg_abort_decompress(&info);
        jpeg_destroy_decompress(&info);
        m_space = JCS_EXT_BGRX;
        m_components = 4;
        return true;
    }

    bool encode()
    {
        jpeg_compress_struct info;
        jpeg_error_mgr errors;
        info.err = jpeg_std_error(&errors);
        jpeg_create_compress(&info);
        jpeg_mem_dest(&info, &m_encoded, &m_encodedSize);
        info.image_width = JDIMENSION(m_job.crop.width);
        info.image_height = JDIMENSION(m_job.crop.height);
        info.input_components = m_components;
        info.in_color_space = m_space;
        jpeg_set_defaults(&info);
        jpeg_set_quality(&info, JpegQuality, TRUE);
        jpeg_start_compress(&info, TRUE);
        jpeg_write_scanlines(&info, m_rows.data(), JDIMENSION(m_rows.size()));
        jpeg_finish_compress(&info);
        jpeg_destroy_compress(&info);
        return true;
    }

    const Job &m_job;
    std::vector<unsigned char> m_file, m_pixels;
    std::vector<JSAMPROW> m_rows;
    J_COLOR_SPACE m_space = JCS_RGB;
    int m_components = 3;
    unsigned char *m_encoded = nullptr;
    unsigned long m_encodedSize = 0;
};

// The scene's save, the extra animation being the series.
bool saveLoop(const Job &job, PrintedMessages &messages, const QString &documents)
{
    SceneState &s = scene();
    s.BaseFolder = documents + QStringLiteral("/Velm5Pro/");
    s.PrimaryFirstFramePath = frameName(job.folder, job.ext, 1);
    s.SceneHasExtraAnim = s.ExtraPlaced = FlagOn;
    s.ExtraFrameSet.FirstFramePath = s.PrimaryFirstFramePath;
    s.ExtraFrameSet.FrameFolder = job.folder;
    s.ExtraFrameSet.FrameBaseName = QStringLiteral("Walk");
    s.ExtraFrameSet.FrameExt = job.ext;
    s.ExtraFrameSet.FirstFrame = Value::integer(1);
    s.ExtraFrameSet.LastFrame = Value::integer(int16_t(job.frames));
    s.ExtraFrameSet.FrameCount = Value::integer(int16_t(job.frames));
    s.LayerPlacements[LayerMainMouth] = {Value::longValue(350), Value::longValue(250), Value::real(56),
                                         Value::real(41)};
    s.LayerPlacements[LayerExtraAnim] = {Value::longValue(10), Value::longValue(20), Value::real(200),
                                         Value::real(200)};
    QList<QImage> mouth;
    for (int n = 1; n <= 7; ++n)
        mouth << photoFrame(56, 41, n);
    sceneDocument().setCutFrames(LayerMainMouth, mouth);
    SaveScene &save = form<SaveScene>();
    save.Text1->setText(QStringLiteral("Bench"));
    save.Image1_Click();
    return messages.shown == QStringList{QStringLiteral("Your Scene has been saved.")};
}

// Runs one loop and prints its total milliseconds and memory.
int runJob(const QStringList &args)
{
    Job job;
    job.loop = args.value(0);
    job.folder = args.value(1);
    job.ext = args.value(2);
    job.frames = args.value(3).toInt();
    job.crop = PixelCrop{args.value(4).toInt(), args.value(5).toInt(), args.value(6).toInt(), args.value(7).toInt()};
    QTemporaryDir temp;
    job.out = temp.filePath(QStringLiteral("out/"));
    QDir().mkpath(job.out);

    // Every loop starts from the same state: the program's windows set up.
    PrintedMessages messages;
    Folders folders;
    folders.documents = temp.filePath(QStringLiteral("Documents"));
    services().environment = &folders;
    windowServices().messages = &messages;
    frmFormDesignE &extra = form<frmFormDesignE>();
    placeTwips(extra.Shape1, job.crop.x * 15, job.crop.y * 15, job.crop.width * 15.15, job.crop.height * 15.15);
    const PixelCrop designed = extra.CropBox(NegativeOrigin::RaiseToZero);
    if (designed.x != job.crop.x || designed.y != job.crop.y || designed.width != job.crop.width ||
        designed.height != job.crop.height) {
        std::fprintf(stderr, "bench_save_scene: the designer's box is not the cut\n");
        return 1;
    }
    form<SaveScene>();

    const long before = statusKb("VmRSS:");
    QElapsedTimer timer;
    timer.start();
    bool ok = false;
    if (job.loop == QLatin1String("save"))
        ok = saveLoop(job, messages, folders.documents);
    else if (job.loop == QLatin1String("plain"))
        ok = plainLoop(job);
    else if (job.loop == QLatin1String("qtclip"))
        ok = qtClipLoop(job);
    else if (job.loop == QLatin1String("limit"))
        ok = LimitLoop(job).run();
    const double ms = timer.nsecsElapsed() / 1e6;
    if (!ok) {
        std::fprintf(stderr, "bench_save_scene: the %s loop failed: %s\n", qPrintable(job.loop),
                     qPrintable(messages.shown.join(QStringLiteral(" | "))));
        destroyAllForms();
        return 1;
    }
    std::printf("%.3f %ld %ld\n", ms, statusKb("VmHWM:"), before);
    destroyAllForms();
    return 0;
}

// --- the parent: fixtures, children, table ---------------------------------

struct Measured {
    double msPerFrame = 0;
    double peakMb = 0;   // VmHWM
    double growthMb = 0; // VmHWM above the resident size when the loop began
};

bool measure(const QString &loop, const QString &folder, const Series &s, const PixelCrop &crop, Measured *out)
{
    std::vector<double> ms, peak, growth;
    for (int run = 0; run < kRuns; ++run) {
        const QList<QByteArray> fields =
            runInOwnProcess({loop, folder, extOf(s), QString::number(s.frames), QString::number(crop.x),
                             QString::number(crop.y), QString::number(crop.width), QString::number(crop.height)});
        if (fields.size() != 3)
            return false;
        ms.push_back(fields[0].toDouble() / s.frames);
        peak.push_back(fields[1].toDouble() / 1024);
        growth.push_back((fields[1].toDouble() - fields[2].toDouble()) / 1024);
    }
    for (auto *v : {&ms, &peak, &growth})
        std::sort(v->begin(), v->end());
    *out = Measured{ms[kRuns / 2], peak[kRuns / 2], growth[kRuns / 2]};
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    BenchApplication app(argc, argv);
    if (QStringList job; app.isJob(&job))
        return runJob(job);

    QTemporaryDir temp;
    if (!temp.isValid()) {
        std::fprintf(stderr, "bench_save_scene: no temporary folder\n");
        return 1;
    }
    // The designer's starting box, as the extra export cuts with it.
    const PixelCrop small = form<frmFormDesignE>().CropBox(NegativeOrigin::RaiseToZero);
    destroyAllForms();
    const PixelCrop large{100, 60, 480, 360};

    std::printf("bench_save_scene: per extra frame in ms, median of %d runs each in its own process;\n"
                "peak memory VmHWM in MB (growth: above the resident size when the loop began)\n\n",
                kRuns);
    BenchTargets targets;
    bool ok = true;
    QString madeFolder;
    for (const Series &s : kSeries) {
        const QString folder = temp.filePath(QStringLiteral("%1x%2-%3/").arg(s.width).arg(s.height).arg(QLatin1String(s.format)));
        if (folder != madeFolder) {
            QDir().mkpath(folder);
            for (int n = 1; n <= s.frames; ++n) {
                QImageWriter writer(frameName(folder, extOf(s), n), s.format);
                writer.setQuality(JpegQuality);
                if (!writer.write(photoFrame(s.width, s.height, n))) {
                    std::fprintf(stderr, "bench_save_scene: could not write the fixtures\n");
                    return 1;
                }
            }
            madeFolder = folder;
            // The fixtures reach the disk now, not in the sync of the first loop that syncs.
            const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (fd < 0 || ::syncfs(fd) != 0) {
                std::fprintf(stderr, "bench_save_scene: could not sync the fixtures\n");
                return 1;
            }
            ::close(fd);
        }
        const PixelCrop crop = s.large ? large : small;
        const bool jpeg = qstrcmp(s.format, "JPEG") == 0;
        Measured save, plain, limit, qtclip;
        if (!measure(QStringLiteral("save"), folder, s, crop, &save) ||
            !measure(QStringLiteral("plain"), folder, s, crop, &plain) ||
            !measure(QStringLiteral("limit"), folder, s, crop, &limit) ||
            (jpeg && !measure(QStringLiteral("qtclip"), folder, s, crop, &qtclip))) {
            ok = false;
            continue;
        }
        std::printf("%s: %d frames, cut %d x %d at %d, %d\n", s.name, s.frames, crop.width, crop.height, crop.x,
                    crop.y);
        std::printf("  scene save:                    %7.3f ms   peak %6.1f MB (growth %6.1f)\n", save.msPerFrame,
                    save.peakMb, save.growthMb);
        std::printf("  plain QImage load-cut-save:    %7.3f ms   peak %6.1f MB (growth %6.1f)\n", plain.msPerFrame,
                    plain.peakMb, plain.growthMb);
        std::printf("  libjpeg limit, one sync:       %7.3f ms   peak %6.1f MB (growth %6.1f)\n", limit.msPerFrame,
                    limit.peakMb, limit.growthMb);
        if (jpeg)
            std::printf("  QImageReader::setClipRect:     %7.3f ms   peak %6.1f MB (growth %6.1f)\n",
                        qtclip.msPerFrame, qtclip.peakMb, qtclip.growthMb);
        const double speed = save.msPerFrame / plain.msPerFrame, toLimit = save.msPerFrame / limit.msPerFrame;
        const double memory = save.peakMb / plain.peakMb;
        std::printf("  save / plain %.2f (target <= 0.8: %s)   save / limit %.2f (target <= 3: %s)\n", speed,
                    targets.judge(speed <= 0.8), toLimit, targets.judge(toLimit <= 3));
        if (s.width == 1920)
            std::printf("  peak memory save / plain %.2f (target <= 1.5: %s)\n\n", memory, targets.judge(memory <= 1.5));
        else
            std::printf("  peak memory save / plain %.2f\n\n", memory);
    }
    if (!ok) {
        std::printf("bench_save_scene: a measurement failed\n");
        return 1;
    }
    return targets.exitCode();
}
