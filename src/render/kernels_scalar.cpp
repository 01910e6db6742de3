// The scalar row kernels: the reference that the vector levels must match byte for byte.

#include "render/pixel_math.h"
#include "render/row_kernels.h"

namespace kest {

const RowKernels& ScalarKernels() {
  static constexpr RowKernels table = {&CopyKeyedRow, &BlendRow,     &AddRow,      &MaskRow,    &MaskAlphaRow,
                                       &MaskAddRow,   &ColorMaskRow, &FillAlphaRow, &FillAddRow, &FillSubRow,
                                       &ComposeRow,   &FillRow,      &CopyAndRow};
  return table;
}

}  // namespace kest
