#pragma once
// Predictors of Flate and LZW data (/DecodeParms /Predictor): PNG row
// filters (10 to 15, each row tagged with its own filter) and TIFF
// horizontal differencing (2).
#include <cstdint>
#include <string>
#include <string_view>

namespace vs {

class TqxPDFObject;
class TqxPDFObjectStore;

struct TqxPredictorParams {
  int64_t predictor = 1;  // 1: none
  int64_t colors = 1;
  int64_t bits_per_component = 8;
  int64_t columns = 1;
};

// The parameters of a /DecodeParms dictionary (nullptr: the defaults);
// values may be given by reference when a store is passed.
TqxPredictorParams PredictorParamsOf(const TqxPDFObject* decode_parms, const TqxPDFObjectStore* store = nullptr);

// Undoes the predictor. Rows are Columns × Colors × BitsPerComponent bits,
// rounded up to whole bytes; PNG takes the byte distance of the filters from
// Colors × BitsPerComponent (at least one byte). A last row cut short is
// decoded as far as it goes. Predictor 1, unknown predictors and parameters
// out of range leave the data as it is; a PNG tag above 4 raises
// EImproperPNGAlgorithm.
std::string ApplyPredictor(std::string_view data, const TqxPredictorParams& params);

}  // namespace vs
