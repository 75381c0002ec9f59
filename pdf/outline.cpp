#include "pdf/outline.h"

namespace vs {

TqxPDFOutline::TqxPDFOutline(TqxCustomPDFDocument* document, int32_t document_number, TqxPDFObjectPtr value,
                             uint16_t generation, int32_t object_number)
    : TqxPDFIndirectObject(document_number, std::move(value), generation, object_number), document_(document) {}

TqxPDFOutline::~TqxPDFOutline() {
  std::unique_ptr<TqxPDFOutline> next = std::move(next_);
  while (next) next = std::move(next->next_);
}

}  // namespace vs
