# Writes the SHA-256 of the firmware image as a C++ constant, kept in the program apart
# from the image: cmake -DIMAGE=firmware.bin -DOUTPUT=image_sha256.cpp -P image_sha256.cmake
file(SHA256 "${IMAGE}" digest)
file(WRITE "${OUTPUT}.new" "// Generated: the SHA-256 of the firmware image this build embeds.
extern const char kBuiltImageSha256[];
const char kBuiltImageSha256[] = \"${digest}\";
")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
