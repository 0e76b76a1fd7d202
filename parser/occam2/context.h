#pragma once
namespace vrk::occam2 {
struct Occam2Context;
}
