#include "host/ParameterParser.h"

#include <string>
#include <vector>

#include "host/Diagnostics.h"
#include "host/Support_Functions.h"

namespace brelka {

ImageRef ParameterParser::imageFromContainer(const fmx::BinaryData& container) {
    fmx::int32 stream = findImageStream(container);
    if (stream < 0) {
        return nullptr;
    }
    fmx::uint32 size = container.GetSize(stream);
    if (size == 0) {
        return nullptr;
    }
    std::vector<unsigned char> bytes(size);  // zero-filled
    GetBinaryDataFromFMBinary(bytes.data(), size, container, stream);
    return ui::Image::decode(bytes.data(), bytes.size());
}

Dictionary ParameterParser::getAllParameters(const fmx::DataVect& parameters) {
    Dictionary dictionary;
    const fmx::uint32 count = parameters.Size();
    for (fmx::uint32 i = 0; i < count; ++i) {
        std::string key = "param_" + std::to_string(i);
        // Keys come in ascending order up to "param_9", so the end is the right place for
        // them; later ones still land correctly, only a little slower.
        auto put = [&](Value value) {
            dictionary.emplace_hint(dictionary.end(), std::move(key), std::move(value));
        };
        switch (parameters.At(i).GetNativeType()) {
        case fmx::kDTText:
            put(StringFromFmText(parameters.AtAsText(i)));
            break;
        case fmx::kDTNumber:
            put(parameters.AtAsNumber(i).AsFloat());
            break;
        case fmx::kDTBoolean:
            put(parameters.AtAsBoolean(i));
            break;
        case fmx::kDTBinary:
            if (ImageRef image = imageFromContainer(parameters.AtAsBinaryData(i))) {
                put(std::move(image));
            }
            break;
        default:
            break;  // dates, times and timestamps are not passed on
        }
    }
    if (Diagnostics::enabled()) {
        Diagnostics::log(describeDictionary(dictionary));
    }
    return dictionary;
}

}  // namespace brelka
