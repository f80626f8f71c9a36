// The .3ds scene reader: materials, meshes, omni lights, cameras and the keyframer's tracks.
// Coordinates stay in file space; world_prepare (world_load.h) converts them.
#pragma once

#include "engine3d/engine_error.h"
#include "engine3d/world.h"

#include <cstddef>
#include <cstdint>

// Messages of the reader. Those that end in a line end carry it as part of the message.
inline constexpr char kMsgCannotOpen3ds[] = "could not open the 3ds file";
inline constexpr char kMsgCannotRead3ds[] = "could not read the 3ds file";
inline constexpr char kMsgNotValid3ds[] = "this is not a valid .3ds file";
inline constexpr char kMsgChunkTooShort[] =
    "this is not a valid .3ds file: a chunk is shorter than its header";
inline constexpr char kMsgChunkOverrun[] =
    "this is not a valid .3ds file: a chunk runs past its parent or the end of the file";
inline constexpr char kMsgDataOverrun[] =
    "this is not a valid .3ds file: chunk data runs past the chunk's end";
inline constexpr char kMsgUnterminatedString[] =
    "this is not a valid .3ds file: a string runs past its chunk";
inline constexpr char kMsgFaceIndex[] =
    "this is not a valid .3ds file: a face refers to a point that does not exist";
inline constexpr char kMsgGroupIndex[] =
    "this is not a valid .3ds file: a material group refers to a face that does not exist";
inline constexpr char kMsgTooManyMapping[] =
    "this is not a valid .3ds file: more mapping coordinates than points";
inline constexpr char kMsgFacesBeforePoints[] =
    "this is not a valid .3ds file: faces come before the points of their mesh";
inline constexpr char kMsgMappingBeforePoints[] =
    "this is not a valid .3ds file: mapping coordinates come before the points of their mesh";
inline constexpr char kMsgSecondPointArray[] = "this is not a valid .3ds file: a mesh has two point arrays";
inline constexpr char kMsgNodeDataBeforeHeader[] =
    "this is not a valid .3ds file: keyframer data comes before its node header";
inline constexpr char kMsgNoMaterialMemory[] = "could not allocate memory for material";
inline constexpr char kMsgNoObjectMemory[] = "could not allocate memory for object";
inline constexpr char kMsgNoLightMemory[] = "could not allocate memory for light";
inline constexpr char kMsgNoCameraMemory[] = "could not allocate memory for camera";
inline constexpr char kMsgNoPointMemory[] = "could not allocate memory for points";
inline constexpr char kMsgNoPointNormalMemory[] = "could not allocate memory for point-normals";
inline constexpr char kMsgNoMappingMemory[] = "could not allocate memory for texture_coordinates";
inline constexpr char kMsgNoPolyMemory[] = "could not allocate memory for polys";
inline constexpr char kMsgNoPolyNormalMemory[] = "could not allocate memory for polynormals";
inline constexpr char kMsgNoStringMemory[] = "could not allocate memory for a texture name";
inline constexpr char kMsgLightColor[] = "could not read light color";
inline constexpr char kMsgUnknownMaterial[] = "fatal error! material NOT recognized!!";
inline constexpr char kMsgUnknownTrackObject[] = "fatal error! trackobjectname NOT recognized!!";
inline constexpr char kMsgUnknownTrackCamera[] = "fatal error! track camera NOT recognized!!";
inline constexpr char kMsgUnknownTrackTarget[] = "fatal error! trackcamera NOT recognized!!";
inline constexpr char kMsgUnknownTrackLight[] = "fatal error! tracklight NOT recognized!!";
inline constexpr char kMsgCameraNodeHeader[] = "camera target name not found\n";
inline constexpr char kMsgTargetTrackMissing[] = "camera target track positions not found\n";
inline constexpr char kMsgLightNodeHeader[] = "light name not found\n";
inline constexpr char kMsgLightTrackMissing[] = "light track positions not found\n";
inline constexpr char kMsgNoTargetKeyMemory[] = "could not allocate mem for target keys";
inline constexpr char kMsgNoCameraPositionKeyMemory[] = "could not allocate mem for camera position keys";
inline constexpr char kMsgNoRollKeyMemory[] = "could not allocate mem for camera roll keys";
inline constexpr char kMsgNoRotationKeyMemory[] = "could not allocate mem for rotation keys";
inline constexpr char kMsgNoPositionKeyMemory[] = "could not allocate mem for position keys";
inline constexpr char kMsgNoLightKeyMemory[] = "could not allocate mem for light position keys";

// The one report that does not stop reading; printed on standard output as it is met.
inline constexpr char kMsgUnknownReflectionBlurChunk[] = "unknown chunk in material reflection blur\n";

// Reads a whole .3ds file held in memory into an empty world. On failure the world is left
// empty (everything read so far is released) and the message is returned.
EngineError read_3ds_memory(const uint8_t* data, size_t size, World* world);

// The same for a file on disk.
EngineError read_3ds_file(const char* path, World* world);

// The show's entry: reads the file, or prints the message and ends the process with code 1.
void load_3ds(const char* path, World* world);
