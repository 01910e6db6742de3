/* libjpeg wrapped so that its error exit returns here by longjmp and never ends the process. */

#include "render/jpeg_glue.h"

#include <setjmp.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <jpeglib.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

/* Progressive streams may hold any number of scans; real pictures have a handful. */
enum { MAX_SCANS = 500 };
/* What libjpeg may allocate for one picture. */
static const long MAX_MEMORY = 512L * 1024 * 1024;

typedef struct error_manager {
  struct jpeg_error_mgr pub;
  jmp_buf jump;
  char* message;
} error_manager;

typedef struct progress_manager {
  struct jpeg_progress_mgr pub;
  error_manager* errors;
} progress_manager;

static void on_error_exit(j_common_ptr cinfo) {
  error_manager* errors = (error_manager*)cinfo->err;
  (*cinfo->err->format_message)(cinfo, errors->message);
  longjmp(errors->jump, 1);
}

static void on_output_message(j_common_ptr cinfo) { (void)cinfo; }

static void on_progress(j_common_ptr cinfo) {
  progress_manager* progress = (progress_manager*)cinfo->progress;
  if (cinfo->is_decompressor && ((j_decompress_ptr)cinfo)->input_scan_number > MAX_SCANS) {
    snprintf(progress->errors->message, KEST_JPEG_MESSAGE_SIZE, "more than %d scans", MAX_SCANS);
    longjmp(progress->errors->jump, 1);
  }
}

static void setup_errors(error_manager* errors, char* message) {
  jpeg_std_error(&errors->pub);
  errors->pub.error_exit = on_error_exit;
  errors->pub.output_message = on_output_message;
  errors->message = message;
  message[0] = 0;
}

/* A decompressor's errors and progress report to `errors`, which jumps back to the caller. */
static void setup_decompress_errors(struct jpeg_decompress_struct* cinfo, error_manager* errors,
                                    progress_manager* progress, char* message) {
  memset(progress, 0, sizeof *progress);
  progress->errors = errors;
  setup_errors(errors, message);
  cinfo->err = &errors->pub;
}

/* The header is read and the output colour space chosen; 0 when it is a four-channel picture. */
static void start_decompress_setup(struct jpeg_decompress_struct* cinfo, const uint8_t* data, size_t size,
                                   progress_manager* progress) {
  cinfo->mem->max_memory_to_use = MAX_MEMORY;
  progress->pub.progress_monitor = on_progress;
  cinfo->progress = &progress->pub;
  jpeg_mem_src(cinfo, data, (unsigned long)size);
  jpeg_read_header(cinfo, TRUE);
  if (cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK)
    cinfo->out_color_space = JCS_CMYK;
  else
    cinfo->out_color_space = JCS_EXT_BGRX;
}

static void fill_info(const struct jpeg_decompress_struct* cinfo, kest_jpeg_info* info) {
  info->width = cinfo->image_width;
  info->height = cinfo->image_height;
  info->components = cinfo->num_components;
  info->cmyk = cinfo->out_color_space == JCS_CMYK;
  info->adobe = cinfo->saw_Adobe_marker;
}

int kest_jpeg_read_info(const uint8_t* data, size_t size, kest_jpeg_info* info, char* message) {
  struct jpeg_decompress_struct cinfo;
  error_manager errors;
  progress_manager progress;
  setup_decompress_errors(&cinfo, &errors, &progress, message);
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return 0;
  }
  jpeg_create_decompress(&cinfo);
  start_decompress_setup(&cinfo, data, size, &progress);
  fill_info(&cinfo, info);
  jpeg_destroy_decompress(&cinfo);
  return 1;
}

int kest_jpeg_decode(const uint8_t* data, size_t size, uint8_t* out, size_t stride, char* message) {
  struct jpeg_decompress_struct cinfo;
  error_manager errors;
  progress_manager progress;
  setup_decompress_errors(&cinfo, &errors, &progress, message);
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return 0;
  }
  jpeg_create_decompress(&cinfo);
  start_decompress_setup(&cinfo, data, size, &progress);
  jpeg_start_decompress(&cinfo);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = out + (size_t)cinfo.output_scanline * stride;
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return 1;
}

/* Three-channel rows are decoded into a small buffer and copied from there with their fourth byte
   cleared. libjpeg-turbo writes rows that start on a vector boundary with stores that bypass the
   cache, so a pass over rows decoded in place would read them back from memory; the buffer's rows
   start off the boundary and stay in the cache. The copy into the picture bypasses the cache in
   turn, as libjpeg-turbo's own stores do. */
enum { ROWS_PER_READ = 2, ROW_ALIGN = 64, ROW_OFFSET = 4 };

static void copy_clearing_fourth_bytes(uint8_t* to, const uint8_t* from, uint32_t width) {
  uint32_t x = 0;
#if defined(__SSE2__)
  if ((uintptr_t)to % 16 == 0) {
    const __m128i bits = _mm_set1_epi32(0x00FFFFFF);
    for (; x + 4 <= width; x += 4)
      _mm_stream_si128((__m128i*)(to + (size_t)x * 4),
                       _mm_and_si128(bits, _mm_loadu_si128((const __m128i*)(from + (size_t)x * 4))));
  }
#endif
  for (; x < width; ++x) {
    uint32_t pixel;
    memcpy(&pixel, from + (size_t)x * 4, 4);
    pixel &= 0x00FFFFFFu; /* B, G, R, X little-endian */
    memcpy(to + (size_t)x * 4, &pixel, 4);
  }
}

int kest_jpeg_decode_sized(const uint8_t* data, size_t size, uint32_t width, uint32_t height, uint8_t* out,
                           size_t stride, kest_jpeg_info* info, char* message) {
  struct jpeg_decompress_struct cinfo;
  error_manager errors;
  progress_manager progress;
  volatile int header_read = 0;
  setup_decompress_errors(&cinfo, &errors, &progress, message);
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&cinfo);
    return header_read ? KEST_JPEG_BAD_DATA : KEST_JPEG_BAD_HEADER;
  }
  jpeg_create_decompress(&cinfo);
  start_decompress_setup(&cinfo, data, size, &progress);
  header_read = 1;
  fill_info(&cinfo, info);
  if (cinfo.image_width != width || cinfo.image_height != height) {
    jpeg_destroy_decompress(&cinfo);
    return KEST_JPEG_OTHER_SIZE;
  }
  jpeg_start_decompress(&cinfo);
  if (info->cmyk) {
    while (cinfo.output_scanline < cinfo.output_height) {
      JSAMPROW row = out + (size_t)cinfo.output_scanline * stride;
      jpeg_read_scanlines(&cinfo, &row, 1);
    }
  } else {
    /* Freed with the decompressor, also when an error jumps out. */
    const size_t buffer_row = ((size_t)width * 4 + ROW_ALIGN - 1) / ROW_ALIGN * ROW_ALIGN;
    uint8_t* buffer = (uint8_t*)(*cinfo.mem->alloc_large)((j_common_ptr)&cinfo, JPOOL_IMAGE,
                                                          buffer_row * ROWS_PER_READ + 2 * ROW_ALIGN);
    uint8_t* first_row = buffer + (ROW_ALIGN - (uintptr_t)buffer % ROW_ALIGN) % ROW_ALIGN + ROW_OFFSET;
    while (cinfo.output_scanline < cinfo.output_height) {
      JSAMPROW rows[ROWS_PER_READ];
      const JDIMENSION first = cinfo.output_scanline;
      JDIMENSION want = cinfo.output_height - first;
      if (want > ROWS_PER_READ) want = ROWS_PER_READ;
      for (JDIMENSION i = 0; i < want; ++i) rows[i] = first_row + (size_t)i * buffer_row;
      const JDIMENSION got = jpeg_read_scanlines(&cinfo, rows, want);
      for (JDIMENSION i = 0; i < got; ++i) copy_clearing_fourth_bytes(out + (size_t)(first + i) * stride, rows[i], width);
    }
#if defined(__SSE2__)
    _mm_sfence(); /* the streamed stores are done before the rows are read */
#endif
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return KEST_JPEG_DECODED;
}

int kest_jpeg_encode(const uint8_t* bgrx, uint32_t width, uint32_t height, int quality, uint8_t** out,
                     size_t* out_size, char* message) {
  struct jpeg_compress_struct cinfo;
  error_manager errors;
  unsigned char* buffer = NULL;
  unsigned long buffer_size = 0;
  setup_errors(&errors, message);
  cinfo.err = &errors.pub;
  if (setjmp(errors.jump)) {
    jpeg_destroy_compress(&cinfo);
    free(buffer);
    return 0;
  }
  jpeg_create_compress(&cinfo);
  jpeg_mem_dest(&cinfo, &buffer, &buffer_size);
  cinfo.image_width = width;
  cinfo.image_height = height;
  cinfo.input_components = 4;
  cinfo.in_color_space = JCS_EXT_BGRX;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = (JSAMPROW)(bgrx + (size_t)cinfo.next_scanline * width * 4);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  *out = buffer;
  *out_size = buffer_size;
  return 1;
}
