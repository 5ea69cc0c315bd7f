#pragma once
// The floss palette's failures; each carries only its message.

#include "base/exceptions.h"

class EInvalidIndex : public Exception {
 public:
  using Exception::Exception;
};
class EInvalidColorIndex : public Exception {
 public:
  using Exception::Exception;
};
class EInvalidColorNameIndex : public Exception {
 public:
  using Exception::Exception;
};
class EInvalidFileName : public Exception {
 public:
  using Exception::Exception;
};
// A file that is read whole but holds no palette in any format.
class ENotPaletteFile : public Exception {
 public:
  using Exception::Exception;
};
// A palette operation whose result would be too large to hold.
class ETooManyColors : public Exception {
 public:
  using Exception::Exception;
};
