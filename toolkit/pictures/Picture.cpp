#include "toolkit/pictures/Picture.h"

#include "toolkit/base/Error.h"
#include "toolkit/pictures/PictureFormats.h"
#include "toolkit/pictures/Resources.h"

#include <algorithm>
#include <cctype>

namespace tk {

namespace {

std::string extensionOf(const std::string& path) {
    std::string name = path.substr(path.find_last_of("\\/:") + 1);
    auto dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

std::string lowerCase(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Saves the DC's state, cuts its drawing to a rectangle and restores it.
class ClipScope {
public:
    ClipScope(HDC dc, const RECT& clip) : dc_(dc), saved_(SaveDC(dc)) {
        IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
    }
    ClipScope(const ClipScope&) = delete;
    ClipScope& operator=(const ClipScope&) = delete;
    ~ClipScope() { RestoreDC(dc_, saved_); }

private:
    HDC dc_;
    int saved_;
};

} // namespace

Picture::Picture(BitmapHandle bitmap) : bitmap_(std::move(bitmap)) {
    BITMAP info{};
    GetObjectW(bitmap_.get(), sizeof(info), &info);
    width_ = info.bmWidth;
    height_ = info.bmHeight;
}

Picture::Picture(IconHandle icon) : icon_(std::move(icon)) {
    ICONINFO info{};
    GetIconInfo(icon_.get(), &info);
    BitmapHandle colour(info.hbmColor);
    BitmapHandle mask(info.hbmMask);
    BITMAP size{};
    GetObjectW(colour ? colour.get() : mask.get(), sizeof(size), &size);
    width_ = size.bmWidth;
    // A monochrome icon keeps its image and its mask stacked in one bitmap.
    height_ = colour ? size.bmHeight : size.bmHeight / 2;
}

Picture::Picture(MetafileHandle metafile) : metafile_(std::move(metafile)) {
    measureMetafile();
}

Picture::Picture(std::shared_ptr<const PictureBytes> oldStyle) : oldStyle_(std::move(oldStyle)) {}

HENHMETAFILE Picture::metafile() const {
    if (!metafile_ && oldStyle_) {
        metafile_ = readMetafileFile(*oldStyle_);
        measureMetafile();
    }
    return metafile_.get();
}

int Picture::width() const {
    metafile();
    return width_;
}

int Picture::height() const {
    metafile();
    return height_;
}

void Picture::measureMetafile() const {
    ENHMETAHEADER header{};
    GetEnhMetaFileHeader(metafile_.get(), sizeof(header), &header);
    // The frame is in hundredths of a millimetre of the device it was made on.
    const RECTL& frame = header.rclFrame;
    if (header.szlMillimeters.cx > 0 && header.szlMillimeters.cy > 0) {
        width_ =
            MulDiv(frame.right - frame.left, header.szlDevice.cx, header.szlMillimeters.cx * 100);
        height_ =
            MulDiv(frame.bottom - frame.top, header.szlDevice.cy, header.szlMillimeters.cy * 100);
    }
    if (width_ <= 0 || height_ <= 0) {
        width_ = header.rclBounds.right - header.rclBounds.left + 1;
        height_ = header.rclBounds.bottom - header.rclBounds.top + 1;
    }
}

Picture Picture::fromFile(const std::string& path) {
    std::string extension = extensionOf(path);
    std::string kind = lowerCase(extension);
    if (kind != "bmp" && kind != "ico" && kind != "emf" && kind != "wmf")
        throw Error(formatMessage("Unknown picture file extension (.%s)", extension));
    PictureBytes bytes = readPictureFile(path);
    if (kind == "bmp")
        return Picture(readBitmapFile(bytes));
    if (kind == "ico")
        return Picture(readIconFile(bytes));
    if (!checkEnhancedMetafile(bytes) && checkWindowsMetafile(bytes))
        return Picture(std::make_shared<const PictureBytes>(std::move(bytes)));
    return Picture(readMetafileFile(bytes));
}

Picture Picture::fromBitmapResource(int id) {
    BitmapHandle bitmap = bitmapResource(id);
    if (!bitmap)
        throw Error("Bitmap image is not valid");
    return Picture(std::move(bitmap));
}

Picture Picture::emptyBitmap() {
    Picture picture;
    picture.blankBitmap_ = true;
    return picture;
}

Picture Picture::copy() const {
    if (bitmap_)
        return Picture(BitmapHandle(static_cast<HBITMAP>(
            CopyImage(bitmap_.get(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))));
    if (icon_)
        return Picture(IconHandle(CopyIcon(icon_.get())));
    if (metafile_)
        return Picture(MetafileHandle(CopyEnhMetaFile(metafile_.get(), nullptr)));
    if (oldStyle_)
        return Picture(oldStyle_);
    return blankBitmap_ ? emptyBitmap() : Picture();
}

void Picture::draw(HDC dc, const RECT& target, bool stretch, bool transparent) const {
    if (bitmap_) {
        drawBitmap(dc, target, stretch, transparent);
        return;
    }
    ClipScope clip(dc, target);
    if (icon_) {
        DrawIconEx(dc, target.left, target.top, icon_.get(),
                   stretch ? target.right - target.left : width_,
                   stretch ? target.bottom - target.top : height_, 0, nullptr, DI_NORMAL);
    } else if (HENHMETAFILE metafile = this->metafile()) {
        RECT natural{target.left, target.top, target.left + width_, target.top + height_};
        PlayEnhMetaFile(dc, metafile, stretch ? &target : &natural);
    }
}

void Picture::drawBitmap(HDC dc, const RECT& target, bool stretch, bool transparent) const {
    int width = target.right - target.left;
    int height = target.bottom - target.top;
    if (!stretch) {
        width = std::min(width, width_);
        height = std::min(height, height_);
    }
    if (width <= 0 || height <= 0 || width_ <= 0 || height_ <= 0)
        return;
    int sourceWidth = stretch ? width_ : width;
    int sourceHeight = stretch ? height_ : height;
    MemoryDc source(CreateCompatibleDC(dc));
    SelectObjectScope select(source.get(), bitmap_.get());
    if (transparent) {
        COLORREF key = GetPixel(source.get(), 0, height_ - 1);
        TransparentBlt(dc, target.left, target.top, width, height, source.get(), 0, 0, sourceWidth,
                       sourceHeight, key);
    } else if (stretch) {
        int mode = SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, target.left, target.top, width, height, source.get(), 0, 0, sourceWidth,
                   sourceHeight, SRCCOPY);
        SetStretchBltMode(dc, mode);
    } else {
        BitBlt(dc, target.left, target.top, width, height, source.get(), 0, 0, SRCCOPY);
    }
}

} // namespace tk
