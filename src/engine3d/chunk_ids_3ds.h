#pragma once
// Chunk ids of the .3ds files the reader takes and the generator writes: one list for both, so
// that what is written is what is read.
#include <cstdint>

constexpr uint16_t kChunkVersion = 0x0002;
constexpr uint16_t kChunkColorFloat = 0x0010;
constexpr uint16_t kChunkPercentage = 0x0030;
constexpr uint16_t kChunkMasterScale = 0x0100;
constexpr uint16_t kChunkEditor = 0x3D3D;
constexpr uint16_t kChunkMeshVersion = 0x3D3E;
constexpr uint16_t kChunkNamedObject = 0x4000;
constexpr uint16_t kChunkMesh = 0x4100;
constexpr uint16_t kChunkPoints = 0x4110;
constexpr uint16_t kChunkFaces = 0x4120;
constexpr uint16_t kChunkFaceMaterial = 0x4130;
constexpr uint16_t kChunkMapping = 0x4140;
constexpr uint16_t kChunkLocalAxes = 0x4160;
constexpr uint16_t kChunkLight = 0x4600;
constexpr uint16_t kChunkCamera = 0x4700;
constexpr uint16_t kChunkMain = 0x4D4D;
constexpr uint16_t kChunkMaterialName = 0xA000;
constexpr uint16_t kChunkReflectionBlur = 0xA053;
constexpr uint16_t kChunkTextureMap = 0xA200;
constexpr uint16_t kChunkMapFileName = 0xA300;
constexpr uint16_t kChunkMaterial = 0xAFFF;
constexpr uint16_t kChunkKeyframer = 0xB000;
constexpr uint16_t kChunkObjectNode = 0xB002;
constexpr uint16_t kChunkCameraNode = 0xB003;
constexpr uint16_t kChunkTargetNode = 0xB004;
constexpr uint16_t kChunkLightNode = 0xB005;
constexpr uint16_t kChunkSegment = 0xB008;
constexpr uint16_t kChunkKeyframerHeader = 0xB00A;
constexpr uint16_t kChunkNodeHeader = 0xB010;
constexpr uint16_t kChunkPivot = 0xB013;
constexpr uint16_t kChunkPositionTrack = 0xB020;
constexpr uint16_t kChunkRotationTrack = 0xB021;
constexpr uint16_t kChunkRollTrack = 0xB024;
constexpr uint16_t kChunkNodeId = 0xB030;
