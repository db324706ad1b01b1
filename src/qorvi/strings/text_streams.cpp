#include <qorvi/strings/text_streams.hpp>

namespace Qorvi::Text_Streams {

Input_Text_Stream::~Input_Text_Stream() = default;
Output_Text_Stream::~Output_Text_Stream() = default;

} // namespace Qorvi::Text_Streams
