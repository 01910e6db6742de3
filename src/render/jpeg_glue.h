#pragma once
/* The C side of the JPEG codec. libjpeg reports fatal errors through a callback that must not
   return; these functions catch it with setjmp in their own C frame, so the jump never crosses a
   C++ frame, and report the fault as a return value and a message. */

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

enum { KEST_JPEG_MESSAGE_SIZE = 256 };

typedef struct kest_jpeg_info {
  uint32_t width;
  uint32_t height;
  int components;
  int cmyk;        /* decoded as CMYK (or YCCK turned CMYK), four bytes a pixel */
  int adobe;       /* an Adobe marker: CMYK values are stored inverted */
} kest_jpeg_info;

/* 1 on success; 0 with `message` set. */
int kest_jpeg_read_info(const uint8_t* data, size_t size, kest_jpeg_info* info, char* message);
/* Decodes into `out`, rows of `stride` bytes, four bytes a pixel: B, G, R, X (X as libjpeg writes
   it), or C, M, Y, K. The plain libjpeg decode, which the benchmarks measure ours against. */
int kest_jpeg_decode(const uint8_t* data, size_t size, uint8_t* out, size_t stride, char* message);
/* Decodes a picture of exactly `width` x `height` into `out`, rows of `stride` bytes, four bytes a
   pixel: B, G, R, 0, or C, M, Y, K. The header is read once; `info` is filled from it. Gives one
   of the results below, with `message` set for a damaged header or damaged data. */
enum { KEST_JPEG_DECODED = 1, KEST_JPEG_BAD_HEADER = 0, KEST_JPEG_OTHER_SIZE = -1, KEST_JPEG_BAD_DATA = -2 };
int kest_jpeg_decode_sized(const uint8_t* data, size_t size, uint32_t width, uint32_t height, uint8_t* out,
                           size_t stride, kest_jpeg_info* info, char* message);
/* Encodes B, G, R, X pixels, rows of width * 4 bytes; the stream is malloc'ed (free it). */
int kest_jpeg_encode(const uint8_t* bgrx, uint32_t width, uint32_t height, int quality, uint8_t** out,
                     size_t* out_size, char* message);

#ifdef __cplusplus
}
#endif
