#pragma once
// The mapped picture of a composition as an image the windows can paint. A QImage needs no
// display connection, so the update worker builds it on its own thread.

#include <QImage>

class TPicture;
class TpunCompo;

inline constexpr const char* kScreenBitmapError = "Internal error, unable to create DDB !";

// Width x Height pixels, top row first, in the format the painter draws fastest. Without a
// picture: a null image. When the image cannot be made (not enough memory) it raises the
// error message.
QImage CreateScreenBitmap(const TPicture& picture);
// Of the composition's mapped picture.
QImage CreateScreenBitmap(const TpunCompo& composition);
