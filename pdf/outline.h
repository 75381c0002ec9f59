#pragma once
// The document outline (bookmarks) as read from the file.
#include <cstdint>
#include <memory>

#include "pdf/objects.h"

namespace vs {

class TqxCustomPDFDocument;

// One outline item: a copy of its dictionary with /Title, /Dest and /A
// resolved, linked to its parent, previous sibling, first child and next
// sibling. An item owns its first child and its next sibling.
class TqxPDFOutline : public TqxPDFIndirectObject {
 public:
  TqxPDFOutline(TqxCustomPDFDocument* document, int32_t document_number, TqxPDFObjectPtr value, uint16_t generation,
                int32_t object_number);
  // Frees the sibling chain one item at a time, however long it is.
  ~TqxPDFOutline() override;

  TqxCustomPDFDocument* Document() const { return document_; }
  bool Closed() const { return closed_; }
  void SetClosed(bool closed) { closed_ = closed; }
  TqxPDFOutline* Parent() const { return parent_; }
  TqxPDFOutline* Previous() const { return previous_; }
  TqxPDFOutline* FirstChild() const { return first_child_.get(); }
  TqxPDFOutline* Next() const { return next_.get(); }
  void SetParent(TqxPDFOutline* parent) { parent_ = parent; }
  void SetPrevious(TqxPDFOutline* previous) { previous_ = previous; }
  void SetFirstChild(std::unique_ptr<TqxPDFOutline> child) { first_child_ = std::move(child); }
  void SetNext(std::unique_ptr<TqxPDFOutline> next) { next_ = std::move(next); }

 private:
  TqxCustomPDFDocument* document_;
  bool closed_ = false;
  TqxPDFOutline* parent_ = nullptr;
  TqxPDFOutline* previous_ = nullptr;
  std::unique_ptr<TqxPDFOutline> first_child_;
  std::unique_ptr<TqxPDFOutline> next_;
};

}  // namespace vs
