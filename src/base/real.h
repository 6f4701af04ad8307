// The Real type of every computation: single precision, as the calculator stores its values.
#pragma once

namespace orv {

using real = float;

} // namespace orv
