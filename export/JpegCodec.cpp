#include "JpegCodec.h"

#include <QCoreApplication>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>
#include <jerror.h>

namespace JpegCodec {
namespace {

// libjpeg reports a fatal error by calling error_exit; ours jumps back to guarded() with the
// library's own message instead of ending the program.
struct ErrorManager
{
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

extern "C" void onJpegError(j_common_ptr info)
{
    auto *manager = reinterpret_cast<ErrorManager *>(info->err);
    (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->jump, 1);
}

// Runs libjpeg steps; false when libjpeg reported an error. All state the steps change lives in the
// caller's holder, never in this frame, and the steps create no object with a destructor, so the
// jump back skips nothing and reads no variable that changed after setjmp.
template <typename Steps>
bool guarded(ErrorManager &errors, Steps &&steps)
{
    if (setjmp(errors.jump))
        return false;
    steps();
    return true;
}

// The compressed bytes grow in a buffer that the holder owns, so that an error at any point frees
// exactly what was allocated, once.
struct MemoryDestination
{
    jpeg_destination_mgr pub;
    unsigned char *data = nullptr;
    std::size_t capacity = 0;
    std::size_t limit = 0; // 0: no limit
};

extern "C" void initDestination(j_compress_ptr cinfo)
{
    auto *dest = reinterpret_cast<MemoryDestination *>(cinfo->dest);
    dest->pub.next_output_byte = dest->data;
    dest->pub.free_in_buffer = dest->capacity;
}

extern "C" boolean growDestination(j_compress_ptr cinfo)
{
    auto *dest = reinterpret_cast<MemoryDestination *>(cinfo->dest);
    const std::size_t used = dest->capacity;
    const std::size_t grown = used * 2;
    if (dest->limit != 0 && grown > dest->limit)
        ERREXIT(cinfo, JERR_FILE_WRITE);
    auto *data = static_cast<unsigned char *>(std::realloc(dest->data, grown));
    if (!data)
        ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 0);
    dest->data = data;
    dest->capacity = grown;
    dest->pub.next_output_byte = data + used;
    dest->pub.free_in_buffer = grown - used;
    return TRUE;
}

extern "C" void termDestination(j_compress_ptr) {}

struct Compressor
{
    jpeg_compress_struct cinfo{};
    ErrorManager errors{};
    MemoryDestination dest{};

    Compressor()
    {
        cinfo.err = jpeg_std_error(&errors.pub);
        errors.pub.error_exit = onJpegError;
        jpeg_create_compress(&cinfo);
        dest.pub.init_destination = initDestination;
        dest.pub.empty_output_buffer = growDestination;
        dest.pub.term_destination = termDestination;
        cinfo.dest = &dest.pub;
    }
    ~Compressor()
    {
        jpeg_destroy_compress(&cinfo);
        std::free(dest.data);
    }
    Compressor(const Compressor &) = delete;
    Compressor &operator=(const Compressor &) = delete;
};

struct Decompressor
{
    jpeg_decompress_struct cinfo{};
    ErrorManager errors{};

    Decompressor()
    {
        cinfo.err = jpeg_std_error(&errors.pub);
        errors.pub.error_exit = onJpegError;
        jpeg_create_decompress(&cinfo);
    }
    ~Decompressor() { jpeg_destroy_decompress(&cinfo); }
    Decompressor(const Decompressor &) = delete;
    Decompressor &operator=(const Decompressor &) = delete;
};

} // namespace

Outcome<QByteArray> encode(const QImage &image, int quality, qsizetype sizeLimit)
{
    using Result = Outcome<QByteArray>;
    if (image.isNull() || image.width() == 0 || image.height() == 0)
        return Result::failed(QCoreApplication::translate("JpegCodec", "An empty picture cannot be written as JPEG."));
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    const QString noMemory = QCoreApplication::translate("JpegCodec", "Not enough memory to write the picture as JPEG.");
    if (rgb.isNull())
        return Result::failed(noMemory);

    Compressor c;
    c.dest.capacity = 64 * 1024;
    c.dest.limit = sizeLimit > 0 ? std::size_t(sizeLimit) : 0;
    if (c.dest.limit != 0 && c.dest.capacity > c.dest.limit)
        c.dest.capacity = c.dest.limit;
    c.dest.data = static_cast<unsigned char *>(std::malloc(c.dest.capacity));
    if (!c.dest.data)
        return Result::failed(noMemory);
    jpeg_compress_struct *cinfo = &c.cinfo;
    const bool ok = guarded(c.errors, [cinfo, &rgb, quality] {
        cinfo->image_width = JDIMENSION(rgb.width());
        cinfo->image_height = JDIMENSION(rgb.height());
        cinfo->input_components = 3;
        cinfo->in_color_space = JCS_RGB;
        jpeg_set_defaults(cinfo);
        jpeg_set_quality(cinfo, quality, TRUE);
        jpeg_start_compress(cinfo, TRUE);
        while (cinfo->next_scanline < cinfo->image_height) {
            JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(int(cinfo->next_scanline)));
            jpeg_write_scanlines(cinfo, &row, 1);
        }
        jpeg_finish_compress(cinfo);
    });
    if (!ok)
        return Result::failed(QString::fromLocal8Bit(c.errors.message));
    const std::size_t size = c.dest.capacity - c.dest.pub.free_in_buffer;
    return QByteArray(reinterpret_cast<const char *>(c.dest.data), qsizetype(size));
}

Outcome<QImage> decode(const QByteArray &data)
{
    Decompressor d;
    jpeg_decompress_struct *cinfo = &d.cinfo;
    const auto fail = [](const QString &message) { return Outcome<QImage>::failed(message); };
    bool ok = guarded(d.errors, [cinfo, &data] {
        jpeg_mem_src(cinfo, reinterpret_cast<const unsigned char *>(data.constData()), static_cast<unsigned long>(data.size()));
        jpeg_read_header(cinfo, TRUE);
        cinfo->out_color_space = JCS_RGB;
        jpeg_start_decompress(cinfo);
    });
    if (!ok)
        return fail(QString::fromLocal8Bit(d.errors.message));
    // The picture is made outside the guarded steps: a jump never passes an object under construction.
    QImage image(int(cinfo->output_width), int(cinfo->output_height), QImage::Format_RGB888);
    if (image.isNull())
        return fail(QCoreApplication::translate("JpegCodec", "Not enough memory for a picture of %1 x %2.")
                        .arg(cinfo->output_width)
                        .arg(cinfo->output_height));
    QImage *target = &image;
    ok = guarded(d.errors, [cinfo, target] {
        while (cinfo->output_scanline < cinfo->output_height) {
            JSAMPROW row = target->scanLine(int(cinfo->output_scanline));
            jpeg_read_scanlines(cinfo, &row, 1);
        }
        jpeg_finish_decompress(cinfo);
    });
    if (!ok)
        return fail(QString::fromLocal8Bit(d.errors.message));
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace JpegCodec
