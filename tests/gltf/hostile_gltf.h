#pragma once
// Hostile glTF files shared by the import's tests and benchmark.
#include <string>

namespace facetor::test {

// 614 bytes: a sparse accessor of 2^24 positions without a buffer view,
// shown by five nodes of five scales. Each would bake it afresh.
inline std::string sparse_bomb_gltf()
{
    return R"({"asset":{"version":"2.0"},"scene":0,"scenes":[{"nodes":[0,1,2,3,4]}],
"nodes":[{"mesh":0},{"mesh":0,"scale":[2,1,1]},{"mesh":0,"scale":[3,1,1]},{"mesh":0,"scale":[4,1,1]},{"mesh":0,"scale":[5,1,1]}],
"meshes":[{"primitives":[{"attributes":{"POSITION":0}}]}],
"accessors":[{"componentType":5126,"count":16777216,"type":"VEC3",
"sparse":{"count":1,"indices":{"bufferView":0,"componentType":5125},"values":{"bufferView":1}}}],
"bufferViews":[{"buffer":0,"byteLength":4},{"buffer":0,"byteOffset":4,"byteLength":12}],
"buffers":[{"byteLength":16,"uri":"data:application/octet-stream;base64,AAAAAAAAgD8AAABAAABAQA=="}]})";
}

} // namespace facetor::test
