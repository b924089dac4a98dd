// Random method names and argument tuples through the script object's method
// table, over a container whose main session is live (a loopback engine
// answers every request with packets cut from the input). Whatever a script
// passes, the host must not crash, leak or read outside its buffers.
//
// Input: a run of operations, each introduced by one byte:
//   0x00-0x9f  a method by table index (u16), its arguments built from the
//              input by its format's letters (an int whose top byte is 0x7e
//              names the input's widget number of its low six bits); odd
//              bytes call a kept object
//   0xa0-0xbf  a method by index or by a name from the input, with an
//              argument tuple of any types and any length
//   0xc0-0xcf  deliver what is waiting (replies, timers, pushes)
//   0xd0-0xdf  a pushed message: u8 length, the bytes
//   0xe0-0xff  reply material for the requests that follow: u8 length, bytes
#define PY_SSIZE_T_CLEAN
#include <Python.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "dictionary/dictionary_writer.h"
#include "env/module_state.h"
#include "orbe/dictionary/cw_file_util.h"
#include "orbe/platform/message_box.h"
#include "orbe/platform/window.h"
#include "orbe/script/container_fun.h"
#include "orbe/script/freeze_store.h"
#include "orbe/script/script_call.h"
#include "orbe/script/script_env.h"
#include "orbe/script/script_methods.h"
#include "orbe/script/script_object.h"
#include "orbe/script/script_ref.h"
#include "orbe/script/subscriptions.h"
#include "orbe/platform/shell.h"
#include "orbe/widgets/kvx_container.h"
#include "script_loopback_engine.h"

extern "C" const char* __lsan_default_suppressions() { return "leak:libpython3"; }

namespace {

constexpr int kMaxOperations = 48;
// Methods that reach the file system by the paths they are given.
constexpr const char* kSkipped[] = {"IsFileExist",   "UDM_UploadFile", "UDM_DownloadFile", "Grid_SaveAsExcel",
                                    "Chart_SaveAsBmp", "Pie_SaveAsBmp",  "PictureEx_Load"};
// Ints of this top byte name one of the widgets each input starts with.
constexpr std::uint32_t kWidgetTag = 0x7E000000u;
constexpr int kWidgetKinds = 35;
// Script functions the container's script defines; replies, timers and
// messages name them.
constexpr const char* kFunctions[] = {"reply", "OnTimer", "OnTPPushMessage", "OnSubscribeMessage", "file"};

constexpr char kScript[] =
    "kept = []\n"
    "def reply(c, handle, status):\n"
    "    h = int(handle)\n"
    "    for r in range(c.GetSqlRecordRowCount(h) + 1):\n"
    "        c.GetSqlRecordAsString(h, r, 'T001'); c.GetSqlRecordAsInt(h, r, 'T003')\n"
    "        c.GetSqlRecordAsDouble(h, r, 'T008'); c.GetSqlRecordAsInt64(h, r, 'T010')\n"
    "    c.GetStatResultAsStr(h); c.GetTQLResult(h); c.PopRpyBufAsInt64(h); c.GetDeleteCount(h)\n"
    "    kept.append(c)\n"
    "def OnTimer(c):\n"
    "    c.UnRegisterTimer()\n"
    "def OnTPPushMessage(c, length):\n"
    "    c.SeekPushBufPos(1); c.PopPushBufAsString(3); c.PopPushBufAsDouble()\n"
    "def OnSubscribeMessage(c, id, first, second):\n"
    "    c.SendSubscribeMessage(int(id) + 1, second, first)\n"
    "def file(c, path):\n"
    "    pass\n";

// Reads the input front to back; past its end every read gives zeros.
class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool Empty() const { return at_ >= size_; }
  std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  template <typename T>
  T Number() {
    T value{};
    unsigned char bytes[sizeof(T)] = {};
    for (unsigned char& b : bytes) b = Byte();
    std::memcpy(&value, bytes, sizeof value);
    return value;
  }
  std::string Bytes(std::size_t count) {
    std::string text;
    while (count-- > 0 && !Empty()) text.push_back(static_cast<char>(Byte()));
    return text;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

class FuzzContainer final : public CKVXContainer, public IContainerFun {
 public:
  FuzzContainer() : CKVXContainer(0) { Create(nullptr, RECT{0, 0, 640, 480}, WS_VISIBLE, 1); }
  ~FuzzContainer() override { DestroyWindow(); }
  void SetModule(orbe::ScriptRef module) { module_ = std::move(module); }

  // A fresh widget of every kind; the widgets of the last input go.
  void NewWidgets() {
    RecycleWndPool(false);
    DeleteWndPool();
    first_widget_ = 0;
    for (int kind = 0; kind < kWidgetKinds; ++kind) {
      int id = 0;
      if (AddWnd(kind * 10, kind * 10, 120, 80, id, kind, "w") && first_widget_ == 0) first_widget_ = id;
    }
  }
  int WidgetId(std::uint32_t number) const { return first_widget_ + static_cast<int>(number & 63); }

  HWND ContainerWindow() const override { return GetSafeHwnd(); }
  CKVXContainer* ContainerWidgets() override { return this; }
  bool CallScript(const std::string& name, const std::vector<std::string>& args) override {
    // Deep chains of subscribed messages end here.
    if (depth_ > 8) return false;
    ++depth_;
    std::string error;
    const bool ok = orbe::CallContainerFunction(module_, name, *this, args, error);
    --depth_;
    return ok;
  }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (HandleScriptMessage(message, wparam, lparam)) return 0;
    return CWnd::WindowProc(message, wparam, lparam);
  }

 private:
  orbe::ScriptRef module_;
  int depth_ = 0;
  int first_widget_ = 0;
};

// A small dictionary: every field type in one table, constants for type 1.
orbe::DictionarySchema Schema() {
  orbe::DictionarySchema schema;
  orbe::SchemaTable table{100000001, 1, "securities", {}};
  const std::uint8_t types[] = {2, 1, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  const std::uint16_t widths[] = {12, 8, 2, 4, 8, 1, 4, 8, 4, 8, 4, 4};
  for (std::size_t i = 0; i < std::size(types); ++i) {
    table.fields.push_back({static_cast<std::int16_t>(i + 1), types[i], widths[i], types[i] == 1 ? "201" : "",
                            "field" + std::to_string(i + 1)});
  }
  schema.tables.push_back(table);
  schema.tables.push_back({100000002, 1, "companies", {{1, 2, 10, "", "code"}, {2, 1, 12, "974", "industry"}}});
  schema.constants = {{"201", "1", "A", "", ""}, {"201", "8", "F", "", ""}, {"974", "01", "I", "", ""},
                      {"974", "0101", "J", "01", ""}};
  return schema;
}

struct World {
  std::string folder;
  orbe_fuzz::LoopbackEngine engine;
  std::unique_ptr<FuzzContainer> container;
  orbe::ScriptRef kept;  // a script object whose call has returned
  std::vector<const orbe::ScriptMethodInfo*> methods;
};

World* g_world = nullptr;

bool Skipped(std::string_view name) {
  for (const char* skipped : kSkipped) {
    if (name == skipped) return true;
  }
  return false;
}

PyObject* Text(const std::string& bytes) {
  return PyUnicode_Decode(bytes.data(), static_cast<Py_ssize_t>(bytes.size()), "gbk", "replace");
}

// An argument of the letter's kind, from the input.
PyObject* TypedArgument(char letter, Input& in) {
  switch (letter) {
    case 'i': {
      const auto number = in.Number<std::uint32_t>();
      if ((number & 0xFF000000u) == kWidgetTag) return PyLong_FromLong(g_world->container->WidgetId(number));
      return PyLong_FromLong(static_cast<std::int32_t>(number));
    }
    case 'L': return PyLong_FromLongLong(in.Number<std::int64_t>());
    case 'd':
    case 'f': return PyFloat_FromDouble(in.Number<double>());
    case 'c': {
      const char byte = static_cast<char>(in.Byte());
      return PyBytes_FromStringAndSize(&byte, 1);
    }
    case 's': {
      const std::uint8_t tag = in.Byte();
      if (tag >= 0xF0) return PyUnicode_FromString(kFunctions[tag % std::size(kFunctions)]);
      return Text(in.Bytes(tag));
    }
    default:
      return Py_NewRef(g_world->kept ? g_world->kept.get() : Py_None);
  }
}

// An argument of any kind.
PyObject* AnyArgument(Input& in) {
  switch (in.Byte() % 8) {
    case 0: return PyLong_FromLong(in.Number<std::int32_t>());
    case 1: return PyLong_FromUnsignedLongLong(in.Number<std::uint64_t>() << 8);
    case 2: return PyFloat_FromDouble(in.Number<double>());
    case 3: return Text(in.Bytes(in.Byte()));
    case 4: {
      const std::string bytes = in.Bytes(in.Byte() % 4);
      return PyBytes_FromStringAndSize(bytes.data(), static_cast<Py_ssize_t>(bytes.size()));
    }
    case 5: return PyList_New(0);
    case 6: return PyUnicode_FromString(kFunctions[in.Byte() % std::size(kFunctions)]);
    default: return Py_NewRef(Py_None);
  }
}

void CallMethod(PyObject* object, const std::string& name, PyObject* args) {
  PyObject* method = args != nullptr ? PyObject_GetAttrString(object, name.c_str()) : nullptr;
  PyObject* result = method != nullptr ? PyObject_Call(method, args, nullptr) : nullptr;
  Py_XDECREF(result);
  Py_XDECREF(method);
  Py_XDECREF(args);
  PyErr_Clear();
}

void RunOperation(std::uint8_t op, Input& in, PyObject* live) {
  World& world = *g_world;
  if (op < 0xC0) {
    const auto* method = world.methods[in.Number<std::uint16_t>() % world.methods.size()];
    std::string name(method->name);
    PyObject* target = (op & 1) != 0 && world.kept ? world.kept.get() : live;
    PyObject* args = nullptr;
    if (op < 0xA0) {
      if (Skipped(name)) return;
      std::vector<PyObject*> items;
      for (const char letter : method->format) {
        if (letter != '|') items.push_back(TypedArgument(letter, in));
      }
      args = PyTuple_New(static_cast<Py_ssize_t>(items.size()));
      for (std::size_t i = 0; i < items.size(); ++i) PyTuple_SET_ITEM(args, static_cast<Py_ssize_t>(i), items[i]);
    } else {
      if ((op & 2) != 0) name = in.Bytes(in.Byte() % 24);
      if (Skipped(name) || name.find('\0') != std::string::npos) return;
      const std::size_t count = in.Byte() % 17;
      args = PyTuple_New(static_cast<Py_ssize_t>(count));
      for (std::size_t i = 0; i < count; ++i) PyTuple_SET_ITEM(args, static_cast<Py_ssize_t>(i), AnyArgument(in));
    }
    CallMethod(target, name, args);
    return;
  }
  if (op < 0xD0) {
    orbe::RunUntilIdle();
    return;
  }
  const std::string bytes = in.Bytes(in.Byte());
  if (op < 0xE0) {
    PyConMessageMgr::Instance().OnPushMessage(reinterpret_cast<const unsigned char*>(bytes.data()),
                                              static_cast<std::uint32_t>(bytes.size()));
  } else {
    world.engine.Session().SetMaterial(bytes);
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  auto* world = new World();  // lives for the fuzzer's process
  std::string pattern = (std::filesystem::temp_directory_path() / "orbe_script_fuzz_XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) return 0;
  world->folder = pattern + "/";
  orbe::SetMessageBoxHandler([](HWND, const std::string&, const std::string&, UINT type) {
    return orbe::DefaultMessageBoxButton(type);
  });
  orbe::SetShellExecuteHandler([](const orbe::ShellRequest&) { return kShellExecuteDone; });
  SetPrivPath(world->folder);
  orbe::WriteDictionaryFiles(orbe::BuildDictionaryFiles(Schema()), world->folder, false);
  auto session = std::make_unique<OrbeClientSession>(&world->engine, world->folder, "");
  session->CreateSession(false, false);
  CwFileUtil::LoadCWSysData(session.get(), world->folder.c_str());
  orbe::State().main_session = std::move(session);
  for (const orbe::ScriptMethodInfo& method : orbe::ScriptMethods()) world->methods.push_back(&method);

  world->container = std::make_unique<FuzzContainer>();
  std::ofstream(world->folder + "orbe_fuzz_script.py") << kScript;
  AddPyScriptPath(world->folder);
  std::string error;
  world->container->SetModule(orbe::ImportScriptModule("orbe_fuzz_script", error));
  {
    const orbe::ScriptLock lock;
    const orbe::BoundScriptObject object(world->container.get());
    world->kept = orbe::ScriptRef(Py_NewRef(object.get()));
  }
  g_world = world;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (g_world == nullptr) return 0;
  Input in(data, size);
  g_world->container->NewWidgets();
  {
    const orbe::ScriptLock lock;
    const orbe::BoundScriptObject live(g_world->container.get());
    for (int n = 0; n < kMaxOperations && !in.Empty(); ++n) RunOperation(in.Byte(), in, live.get());
  }
  orbe::RunUntilIdle();
  // State that scripts keep across inputs stays small.
  g_world->container->CancelRequests();
  g_world->container->ClearSqlOption();
  g_world->container->UnRegisterTimer();
  orbe::RunUntilIdle();
  orbe::FreezeStore::Module().Clear();
  return 0;
}
