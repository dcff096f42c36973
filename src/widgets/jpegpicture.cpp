#include "widgets/jpegpicture.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace zwonky {

namespace {

// Far more than any picture of the game; bounds the memory a file can ask for.
constexpr JDIMENSION MaxSide = 4096;

struct ErrorTrap
{
    jpeg_error_mgr manager;
    std::jmp_buf escape;
};

[[noreturn]] void leaveDecoding(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorTrap *>(info->err)->escape, 1);
}

// Warnings (a damaged but readable file) are not printed to the terminal.
void keepQuiet(j_common_ptr, int) {}

// Runs the decoding proper. Kept apart from decodeJpeg so that nothing with
// a destructor lives in the frame that longjmp leaves.
bool decodeInto(jpeg_decompress_struct &info, ErrorTrap &trap, QByteArrayView data, QImage &image)
{
    if (setjmp(trap.escape))
        return false;
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char *>(data.data()),
                 static_cast<unsigned long>(data.size()));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK)
        return false;
    if (info.image_width == 0 || info.image_height == 0 || info.image_width > MaxSide
        || info.image_height > MaxSide)
        return false;
    // Straight into the layout of QImage::Format_RGB32 (the X byte is 0xff).
    info.out_color_space = JCS_EXT_BGRX;
    jpeg_start_decompress(&info);
    image = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB32);
    if (image.isNull())
        return false;
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.scanLine(int(info.output_scanline));
        if (jpeg_read_scanlines(&info, &row, 1) != 1)
            return false;
    }
    jpeg_finish_decompress(&info);
    return true;
}

} // namespace

QImage decodeJpeg(QByteArrayView data)
{
    if (data.isEmpty())
        return {};
    jpeg_decompress_struct info{};
    ErrorTrap trap{};
    info.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = leaveDecoding;
    trap.manager.emit_message = keepQuiet;
    jpeg_create_decompress(&info);
    QImage image;
    const bool whole = decodeInto(info, trap, data, image);
    jpeg_destroy_decompress(&info);
    return whole ? image : QImage();
}

} // namespace zwonky
