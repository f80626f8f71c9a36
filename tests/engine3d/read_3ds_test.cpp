#include "scene_fixtures.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

TEST(Read3ds, RoundTripKeepsEveryChunkKind) {
    OwnedWorld w;
    ASSERT_EQ(read_scene(full_scene(), w.get()), nullptr);

    EXPECT_EQ(w->first_frame, 0);
    EXPECT_EQ(w->last_frame, 4464); // low 16 bits of 70000

    const Material* gold = w->materials;
    ASSERT_NE(gold, nullptr);
    EXPECT_STREQ(gold->name, "gold");
    ASSERT_NE(gold->texture_name, nullptr);
    EXPECT_STREQ(gold->texture_name, "gold.jpg");
    EXPECT_EQ(gold->render_type, 4);
    const Material* plain = gold->next;
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->texture_name, nullptr);
    EXPECT_EQ(plain->render_type, 0);
    EXPECT_EQ(plain->next, nullptr);

    const Object* cube = w->objects;
    ASSERT_NE(cube, nullptr);
    EXPECT_STREQ(cube->name, "cube");
    ASSERT_EQ(cube->point_count, 4);
    ASSERT_EQ(cube->poly_count, 2);
    EXPECT_EQ(cube->points[1].x, 1.0f);
    EXPECT_EQ(cube->polys[0].c, &cube->points[2]);
    EXPECT_EQ(cube->polys[1].b, &cube->points[2]);
    // The groups are stored inside the face array and still reach their polys.
    EXPECT_EQ(cube->polys[0].material, plain);
    EXPECT_EQ(cube->polys[1].material, gold);
    ASSERT_NE(cube->texture_coordinates, nullptr);
    EXPECT_EQ(cube->texture_coordinates[0].u, 0.25f);
    EXPECT_EQ(cube->texture_coordinates[0].v, -0.75f);
    EXPECT_EQ(cube->points[0].u, 0.25f);
    EXPECT_EQ(cube->points[0].v, -0.75f);
    EXPECT_EQ(cube->matrix[0], 1.0f);
    EXPECT_EQ(cube->matrix[3], 0.0f);
    EXPECT_EQ(cube->matrix[12], 5.0f);
    EXPECT_EQ(cube->matrix[14], 7.0f);
    EXPECT_EQ(cube->matrix[15], 1.0f);
    EXPECT_EQ(cube->pivot.y, 0.25f);

    ASSERT_EQ(cube->position_key_count, 2);
    const PositionKey& k1 = cube->position_keys[1];
    EXPECT_EQ(k1.frame, 4464);
    EXPECT_EQ(k1.x, 4.0f);
    EXPECT_EQ(k1.z, 6.0f);
    // Flags 0x0005: tension and bias from the file, the others zero.
    EXPECT_EQ(k1.tension, 0.5f);
    EXPECT_EQ(k1.continuity, 0.0f);
    EXPECT_EQ(k1.bias, -0.25f);
    EXPECT_EQ(k1.ease_to, 0.0f);
    EXPECT_EQ(k1.ease_from, 0.0f);
    ASSERT_EQ(cube->rotation_key_count, 2);
    // Axis first, angle last; the spline values in between are read and dropped.
    EXPECT_EQ(cube->rotation_keys[1].frame, 10);
    EXPECT_EQ(cube->rotation_keys[1].x, 1.0f);
    EXPECT_EQ(cube->rotation_keys[1].w, 0.5f);
    EXPECT_EQ(cube->rotation_keys[0].z, 1.0f);
    EXPECT_EQ(cube->rotation_keys[0].w, 1.5f);

    const Object* longOne = cube->next;
    ASSERT_NE(longOne, nullptr);
    EXPECT_STREQ(longOne->name, "a name much longer ");
    EXPECT_EQ(std::strlen(longOne->name), 19u);
    EXPECT_EQ(longOne->texture_coordinates, nullptr);
    EXPECT_EQ(longOne->position_key_count, 1); // found by its cut name

    const Light* lamp = w->lights;
    ASSERT_NE(lamp, nullptr);
    EXPECT_STREQ(lamp->name, "lamp");
    EXPECT_EQ(lamp->position.z, 3.0f);
    EXPECT_EQ(lamp->color.r, 0.5f);
    EXPECT_EQ(lamp->color.g, 0.25f);
    ASSERT_EQ(lamp->position_key_count, 1);
    EXPECT_EQ(lamp->position_keys[0].frame, 3);

    const Camera* eye = w->cameras;
    ASSERT_NE(eye, nullptr);
    EXPECT_STREQ(eye->name, "eye");
    EXPECT_EQ(eye->position.y, -10.0f);
    EXPECT_EQ(eye->bank, 30.0f); // still degrees as read
    EXPECT_EQ(eye->lens, 35.0f);
    EXPECT_EQ(eye->projection_factor, 256.0f);
    EXPECT_EQ(eye->position_key_count, 1);
    ASSERT_EQ(eye->target_key_count, 2);
    EXPECT_EQ(eye->target_keys[1].x, 1.0f);
    ASSERT_EQ(eye->roll_key_count, 2);
    EXPECT_EQ(eye->roll_keys[1].roll, 90.0f);
    EXPECT_EQ(w->current_camera, eye);
}

TEST(Read3ds, CountsAreUnsignedAndZeroCountsAllocateNothing) {
    Scene3ds s;
    SceneMesh big;
    big.name = "big";
    big.points.resize(40000); // above the signed 16-bit range
    big.faces = {{39999, 0, 1}};
    SceneMesh empty;
    empty.name = "empty";
    s.meshes = {big, empty};
    s.nodes = {object_node("empty", {})};
    OwnedWorld w;
    ASSERT_EQ(read_scene(s, w.get()), nullptr);
    EXPECT_EQ(w->objects->point_count, 40000);
    EXPECT_EQ(w->objects->polys[0].a, &w->objects->points[39999]);
    const Object* e = w->objects->next;
    EXPECT_EQ(e->point_count, 0);
    EXPECT_EQ(e->points, nullptr);
    EXPECT_EQ(e->polys, nullptr);
    EXPECT_EQ(e->position_key_count, 0);
    EXPECT_EQ(e->position_keys, nullptr);
}

TEST(Read3ds, UnknownReflectionBlurChildIsReportedAndSkipped) {
    std::vector<uint8_t> file = editor_file([](ChunkWriter& out) {
        out.begin(0xAFFF);
        out.begin(0xA053);
        out.begin(0x0031); // a float percentage: not what the engine reads
        out.f32(50.0f);
        out.end();
        out.begin(0x0030);
        out.u16(8);
        out.end();
        out.end();
        out.end();
    });
    OwnedWorld w;
    testing::internal::CaptureStdout();
    const EngineError error = read_bytes(file, w.get());
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(error, nullptr);
    EXPECT_EQ(printed, "unknown chunk in material reflection blur\n");
    ASSERT_NE(w->materials, nullptr);
    EXPECT_EQ(w->materials->render_type, 8);
}

// Records appended after a keyframer lookup moved the reader's cursor must not be dropped.
TEST(Read3ds, RecordsAfterAKeyframerLookupStayInTheList) {
    ChunkWriter out;
    out.begin(0x4D4D);
    out.begin(0x3D3D);
    write_3ds_mesh(out, square_mesh("one"));
    write_3ds_mesh(out, square_mesh("two"));
    write_3ds_camera(out, {"c1", {}, {0, 1, 0}, 0, 50});
    write_3ds_camera(out, {"c2", {}, {0, 1, 0}, 0, 50});
    out.end();
    out.begin(0xB000);
    write_3ds_node(out, object_node("one", {position_key(0, 0, 0, 0)}));
    write_3ds_node(out, track_node(SceneNodeKind::Camera, "c1", {}));
    out.end();
    out.begin(0x3D3D);
    write_3ds_mesh(out, square_mesh("three"));
    write_3ds_camera(out, {"c3", {}, {0, 1, 0}, 0, 50});
    out.end();
    out.end();
    OwnedWorld w;
    ASSERT_EQ(read_bytes(out.bytes(), w.get()), nullptr);
    std::string objects, cameras;
    for (const Object* o = w->objects; o; o = o->next) objects += std::string(o->name) + " ";
    for (const Camera* c = w->cameras; c; c = c->next) cameras += std::string(c->name) + " ";
    EXPECT_EQ(objects, "one two three ");
    EXPECT_EQ(cameras, "c1 c2 c3 ");
}

// Two keyframer nodes of one mesh (instances): the later tracks replace the earlier ones.
TEST(Read3ds, SecondNodeOfAnObjectReplacesItsTracks) {
    Scene3ds s;
    s.meshes = {square_mesh("box")};
    s.nodes = {object_node("box", {position_key(0, 1, 0, 0), position_key(9, 2, 0, 0)}),
               object_node("box", {position_key(4, 3, 0, 0)})};
    OwnedWorld w;
    ASSERT_EQ(read_scene(s, w.get()), nullptr);
    ASSERT_EQ(w->objects->position_key_count, 1);
    EXPECT_EQ(w->objects->position_keys[0].x, 3.0f);
}

struct BadFile {
    const char* what;
    std::vector<uint8_t> bytes;
    const char* message;
};

std::vector<uint8_t> with_mesh(SceneMesh mesh, std::vector<SceneMaterial> materials = {}) {
    Scene3ds s;
    s.materials = std::move(materials);
    s.meshes = {std::move(mesh)};
    return write_3ds(s);
}

std::vector<BadFile> malformed_meshes() {
    std::vector<BadFile> cases;
    SceneMesh m = square_mesh("m");
    m.faces[1].c = 4;
    cases.push_back({"face index at the point count", with_mesh(m), kMsgFaceIndex});
    m = square_mesh("m");
    m.groups = {{"mat", {2}}};
    cases.push_back({"group index at the poly count", with_mesh(m, {{"mat", "", {}}}), kMsgGroupIndex});
    m = square_mesh("m");
    m.mapping.resize(5);
    cases.push_back({"more mapping coordinates than points", with_mesh(m), kMsgTooManyMapping});
    m = square_mesh("m");
    m.groups = {{"Mat", {0}}};
    cases.push_back({"group names a missing material", with_mesh(m, {{"mat", "", {}}}), kMsgUnknownMaterial});

    cases.push_back({"faces before points", editor_file([](ChunkWriter& out) {
                         out.begin(0x4000);
                         out.str("m");
                         out.begin(0x4100);
                         out.begin(0x4120);
                         out.u16(0);
                         out.end();
                         out.end();
                         out.end();
                     }),
                     kMsgFacesBeforePoints});
    cases.push_back({"mapping before points", editor_file([](ChunkWriter& out) {
                         out.begin(0x4000);
                         out.str("m");
                         out.begin(0x4100);
                         out.begin(0x4140);
                         out.u16(0);
                         out.end();
                         out.end();
                         out.end();
                     }),
                     kMsgMappingBeforePoints});
    cases.push_back({"two point arrays", editor_file([](ChunkWriter& out) {
                         out.begin(0x4000);
                         out.str("m");
                         out.begin(0x4100);
                         for (int i = 0; i < 2; ++i) {
                             out.begin(0x4110);
                             out.u16(0);
                             out.end();
                         }
                         out.end();
                         out.end();
                     }),
                     kMsgSecondPointArray});
    cases.push_back({"point count beyond the chunk", editor_file([](ChunkWriter& out) {
                         out.begin(0x4000);
                         out.str("m");
                         out.begin(0x4100);
                         out.begin(0x4110);
                         out.u16(65535);
                         out.f32(1.0f);
                         out.end();
                         out.end();
                         out.end();
                     }),
                     kMsgDataOverrun});
    cases.push_back({"unterminated object name", editor_file([](ChunkWriter& out) {
                         out.begin(0x4000);
                         out.raw("abc", 3);
                         out.end();
                     }),
                     kMsgUnterminatedString});
    cases.push_back({"unterminated texture name", editor_file([](ChunkWriter& out) {
                         out.begin(0xAFFF);
                         out.begin(0xA200);
                         out.begin(0xA300);
                         out.raw("tex.jpg", 7);
                         out.end();
                         out.end();
                         out.end();
                     }),
                     kMsgUnterminatedString});
    cases.push_back({"light without colour", editor_file([](ChunkWriter& out) {
                         out.begin(0x4000);
                         out.str("l");
                         out.begin(0x4600);
                         out.f32(0);
                         out.f32(0);
                         out.f32(0);
                         out.begin(0x0011);
                         out.raw("\xff\xff\xff", 3);
                         out.end();
                         out.end();
                         out.end();
                     }),
                     kMsgLightColor});
    cases.push_back({"camera chunk too short", editor_file([](ChunkWriter& out) {
                         out.begin(0x4000);
                         out.str("c");
                         out.begin(0x4700);
                         out.f32(0);
                         out.end();
                         out.end();
                     }),
                     kMsgDataOverrun});
    return cases;
}

std::vector<BadFile> malformed_chunks() {
    std::vector<BadFile> cases;
    cases.push_back({"empty file", {}, kMsgNotValid3ds});
    cases.push_back({"wrong first id", {0x4D, 0x4E, 6, 0, 0, 0}, kMsgNotValid3ds});
    cases.push_back({"main chunk shorter than its header", {0x4D, 0x4D, 5, 0, 0, 0}, kMsgChunkTooShort});
    cases.push_back({"main chunk longer than the file", {0x4D, 0x4D, 7, 0, 0, 0}, kMsgChunkOverrun});
    // A child of length 0 would make a naive walker loop forever on one spot.
    cases.push_back(
        {"zero-length child", {0x4D, 0x4D, 12, 0, 0, 0, 0x3D, 0x3D, 0, 0, 0, 0}, kMsgChunkTooShort});
    cases.push_back({"child past its parent", editor_file([](ChunkWriter& out) {
                         out.begin(0xAFFF);
                         out.begin(0xA000);
                         out.str("x");
                         out.end();
                         out.end();
                         out.u16(0x0100); // a chunk whose length runs past the editor
                         out.u32(100);
                     }),
                     kMsgChunkOverrun});
    cases.push_back(
        {"header cut by the file's end", {0x4D, 0x4D, 9, 0, 0, 0, 0x3D, 0x3D, 0}, kMsgChunkOverrun});
    return cases;
}

void expect_rejected(const std::vector<BadFile>& cases) {
    for (const BadFile& c : cases) {
        OwnedWorld w;
        const EngineError error = read_bytes(c.bytes, w.get());
        ASSERT_NE(error, nullptr) << c.what;
        EXPECT_STREQ(error, c.message) << c.what;
        // A failed read leaves nothing behind.
        EXPECT_EQ(w->objects, nullptr) << c.what;
        EXPECT_EQ(w->materials, nullptr) << c.what;
        EXPECT_EQ(w->lights, nullptr) << c.what;
    }
}

TEST(Read3ds, MalformedMeshesAreRejectedWithClearMessages) {
    expect_rejected(malformed_meshes());
}

TEST(Read3ds, MalformedChunksAreRejected) {
    expect_rejected(malformed_chunks());
}

// Every cut of a valid file fails cleanly: nothing is read past the end.
TEST(Read3ds, EveryTruncationOfAValidFileFails) {
    const std::vector<uint8_t> full = write_3ds(full_scene());
    for (size_t size = 0; size < full.size(); ++size) {
        std::vector<uint8_t> cut(full.begin(), full.begin() + std::ptrdiff_t(size));
        OwnedWorld w;
        EXPECT_NE(read_bytes(cut, w.get()), nullptr) << "size " << size;
    }
}

TEST(Read3ds, KeyframerNodesReportTheirMessages) {
    Scene3ds editor;
    editor.meshes = {square_mesh("box")};
    editor.lights = {{"lamp", {}, {}}};
    editor.cameras = {{"eye", {}, {0, 1, 0}, 0, 50}};
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        const char* message;
    };
    auto node = [&](SceneNode n) {
        return keyframer_file(editor, [&](ChunkWriter& out) { write_3ds_node(out, n); });
    };
    // A node that starts with the given chunk instead of its header.
    auto headless = [&](uint16_t nodeId) {
        return keyframer_file(editor, [&](ChunkWriter& out) {
            out.begin(nodeId);
            write_3ds_position_track(out, {position_key(0, 0, 0, 0)});
            out.end();
        });
    };
    // A header and then something other than the position track.
    auto trackless = [&](uint16_t nodeId, const char* name) {
        return keyframer_file(editor, [&](ChunkWriter& out) {
            out.begin(nodeId);
            write_3ds_node_header(out, name, 0xFFFF);
            write_3ds_roll_track(out, {});
            out.end();
        });
    };
    const Case cases[] = {
        {"unknown object", node(object_node("$$$DUMMY", {})), kMsgUnknownTrackObject},
        {"unknown camera", node(track_node(SceneNodeKind::Camera, "nobody", {})), kMsgUnknownTrackCamera},
        {"unknown target", node(track_node(SceneNodeKind::Target, "nobody", {})), kMsgUnknownTrackTarget},
        {"unknown light", node(track_node(SceneNodeKind::Light, "nobody", {})), kMsgUnknownTrackLight},
        {"light name looked up among cameras", node(track_node(SceneNodeKind::Camera, "lamp", {})),
         kMsgUnknownTrackCamera},
        {"camera node without header", headless(0xB003), kMsgCameraNodeHeader},
        {"target node without header", headless(0xB004), kMsgCameraNodeHeader},
        {"light node without header", headless(0xB005), kMsgLightNodeHeader},
        {"target node without track", trackless(0xB004, "eye"), kMsgTargetTrackMissing},
        {"light node without track", trackless(0xB005, "lamp"), kMsgLightTrackMissing},
        {"object track before the node header",
         keyframer_file(editor,
                        [](ChunkWriter& out) {
                            out.begin(0xB002);
                            write_3ds_position_track(out, {});
                            write_3ds_node_header(out, "box", 0xFFFF);
                            out.end();
                        }),
         kMsgNodeDataBeforeHeader},
        {"key count beyond the track",
         keyframer_file(editor,
                        [](ChunkWriter& out) {
                            out.begin(0xB002);
                            write_3ds_node_header(out, "box", 0xFFFF);
                            out.begin(0xB020);
                            out.u16(0);
                            out.u32(0);
                            out.u32(0);
                            out.u32(0xFFFFFFFFu); // 65535 keys, no data
                            out.end();
                            out.end();
                        }),
         kMsgDataOverrun},
    };
    for (const Case& c : cases) {
        OwnedWorld w;
        const EngineError error = read_bytes(c.bytes, w.get());
        ASSERT_NE(error, nullptr) << c.what;
        EXPECT_STREQ(error, c.message) << c.what;
    }
}

TEST(Read3ds, FilesOnDiskAndTheExitingEntry) {
    OwnedWorld w;
    EXPECT_STREQ(read_3ds_file("no/such/scene.3ds", w.get()), "could not open the 3ds file");

    const std::string path = testing::TempDir() + "engine3d_read_test.3ds";
    std::string error;
    ASSERT_TRUE(save_3ds(path, full_scene(), &error)) << error;
    EXPECT_EQ(read_3ds_file(path.c_str(), w.get()), nullptr);
    EXPECT_NE(w->objects, nullptr);
    std::remove(path.c_str());

    EXPECT_EXIT(
        {
            World dead{};
            load_3ds("no/such/scene.3ds", &dead);
        },
        testing::ExitedWithCode(1), "");
}

} // namespace
