// Measures the stack machine against other expression evaluators on the
// same expressions, the kind composition cells hold (arithmetic chains,
// nested groups, conditionals, sin/pow/int, nrand, itp, li/lv/lr):
// - zelvo: run_program on code from the real expression compiler;
// - muparser: mu::Parser::Eval with the variables bound by address;
// - lua: Lua 5.4, each expression compiled once as a function of the
//   variables;
// - native: a C++ lambda, the limit.
// The variables change before every evaluation. nrand, itp, int and the list
// registers are the machine's own functions in every evaluator, registered as
// callbacks where the language lacks them. muparser and Lua are optional: a
// build without them measures the machine and the lambdas only.
// After the runs a table gives each evaluator's time per evaluation and its
// ratio to the machine's.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "console/job_console.h"
#include "machine/builtins.h"
#include "machine/machine_state.h"
#include "tables/composition.h"
#include "tables/expression_compiler.h"
#include "tables/html_reader.h"

#ifdef ZELVO_HAVE_MUPARSER
#include <muParser.h>
#endif
#ifdef ZELVO_HAVE_LUA
#include <lua.hpp>
#endif

namespace {

using namespace zelvo;

// The variables the expressions read, moved before every evaluation.
struct Variables {
  double x = 0, y = 0, g = 0, k = 0;
  void step(uint32_t i) {
    x = static_cast<double>(i % 128);
    y = static_cast<double>((i * 7) % 61) - 20;
    g = static_cast<double>(i % 1000) / 100.0;
    k = static_cast<double>(i % 24);
  }
};

double whole(double v) {
  double w;
  std::modf(v, &w);
  return w;
}

struct Case {
  const char* name;
  const char* zelvo;
  const char* muparser;
  const char* lua;
  double (*native)(const Variables&, machine::MachineState&);
};

// A composition's operators have no precedence among them and group to the
// right, so every expression spells out its groups, the same way in each
// language: the evaluators then do the same operations in the same order,
// and their first results are compared bit for bit before any timing.
const Case kCases[] = {
    {"ArithmeticChain", "((((x*2)+(y*3))-(g*4))+(k/2))-1", "((((x*2)+(y*3))-(g*4))+(k/2))-1",
     "((((x*2)+(y*3))-(g*4))+(k/2))-1",
     [](const Variables& v, machine::MachineState&) { return ((((v.x * 2) + (v.y * 3)) - (v.g * 4)) + (v.k / 2)) - 1; }},
    {"NestedGroups", "((x+1)*(y-2))/(((g+3)*(k+4))+1)", "((x+1)*(y-2))/(((g+3)*(k+4))+1)",
     "((x+1)*(y-2))/(((g+3)*(k+4))+1)",
     [](const Variables& v, machine::MachineState&) { return ((v.x + 1) * (v.y - 2)) / (((v.g + 3) * (v.k + 4)) + 1); }},
    {"Conditional", "(x>64?(x-12):(x+12))", "x>64?(x-12):(x+12)", "(x>64) and (x-12) or (x+12)",
     [](const Variables& v, machine::MachineState&) { return v.x > 64 ? v.x - 12 : v.x + 12; }},
    {"ConditionalLogic", "((x>=40)&&(y<9)?(x+y):(x-y))", "(x>=40)&&(y<9)?(x+y):(x-y)",
     "((x>=40) and (y<9)) and (x+y) or (x-y)",
     [](const Variables& v, machine::MachineState&) { return v.x >= 40 && v.y < 9 ? v.x + v.y : v.x - v.y; }},
    {"Sine", "(sin(g)*12)+60", "(sin(g)*12)+60", "(math.sin(g)*12)+60",
     [](const Variables& v, machine::MachineState&) { return (std::sin(v.g) * 12) + 60; }},
    {"Power", "pow(2,y/12)*440", "2^(y/12)*440", "2^(y/12)*440",
     [](const Variables& v, machine::MachineState&) { return std::pow(2, v.y / 12) * 440; }},
    {"IntegerPart", "(int(x/12)*12)+int(g)", "(int(x/12)*12)+int(g)", "(int(x/12)*12)+int(g)",
     [](const Variables& v, machine::MachineState&) { return (whole(v.x / 12) * 12) + whole(v.g); }},
    {"Random", "60+nrand(24)", "60+nrand(24)", "60+nrand(24)",
     [](const Variables&, machine::MachineState& m) { return 60 + machine::nrand(m, 24); }},
    {"Interpolation", "itp(0,60,127,110,x)+k", "itp(0,60,127,110,x)+k", "itp(0,60,127,110,x)+k",
     [](const Variables& v, machine::MachineState&) { return machine::itp(0, 60, 127, 110, v.x) + v.k; }},
    {"ListValues", "li(int(x/32),1)+lv(0,48)+lv(1,53)+lv(2,55)+lv(3,50)",
     "li(int(x/32),1)+lv(0,48)+lv(1,53)+lv(2,55)+lv(3,50)", "li(int(x/32),1)+lv(0,48)+lv(1,53)+lv(2,55)+lv(3,50)",
     [](const Variables& v, machine::MachineState& m) {
       return machine::li(m, whole(v.x / 32), 1) + machine::lv(m, 0, 48) + machine::lv(m, 1, 53) +
              machine::lv(m, 2, 55) + machine::lv(m, 3, 50);
     }},
    {"ListRanges", "li(x,1)+lr(0,40,1)+lr(41,80,2)+lr(81,127,3)", "li(x,1)+lr(0,40,1)+lr(41,80,2)+lr(81,127,3)",
     "li(x,1)+lr(0,40,1)+lr(41,80,2)+lr(81,127,3)",
     [](const Variables& v, machine::MachineState& m) {
       return machine::li(m, v.x, 1) + machine::lr(m, 0, 40, 1) + machine::lr(m, 41, 80, 2) + machine::lr(m, 81, 127, 3);
     }},
    {"ManyVariables", "((x+y)+(g+k))+((x*y)+((g*k)-((x+y)/4)))", "((x+y)+(g+k))+((x*y)+((g*k)-((x+y)/4)))",
     "((x+y)+(g+k))+((x*y)+((g*k)-((x+y)/4)))",
     [](const Variables& v, machine::MachineState&) {
       return ((v.x + v.y) + (v.g + v.k)) + ((v.x * v.y) + ((v.g * v.k) - ((v.x + v.y) / 4)));
     }},
    {"Mixed", "(int(sin(g)*12)+60)+(x>y?12:0)", "(int(sin(g)*12)+60)+(x>y?12:0)",
     "(int(math.sin(g)*12)+60)+((x>y) and 12 or 0)",
     [](const Variables& v, machine::MachineState&) { return (whole(std::sin(v.g) * 12) + 60) + (v.x > v.y ? 12 : 0); }},
    {"Velocity", "(itp(0,50,127,110,x)+nrand(8))+(k>12?4:0)", "(itp(0,50,127,110,x)+nrand(8))+(k>12?4:0)",
     "(itp(0,50,127,110,x)+nrand(8))+((k>12) and 4 or 0)",
     [](const Variables& v, machine::MachineState& m) {
       return (machine::itp(0, 50, 127, 110, v.x) + machine::nrand(m, 8)) + (v.k > 12 ? 4 : 0);
     }},
};

// One compiled expression of the machine, storing into `result`.
struct ZelvoEvaluator {
  std::unique_ptr<tables::Composition> composition = std::make_unique<tables::Composition>();
  std::unique_ptr<machine::MachineState> machine = std::make_unique<machine::MachineState>();
  std::unique_ptr<console::StandaloneConsole> console = std::make_unique<console::StandaloneConsole>();
  tables::ReaderPosition position;
  tables::CompileContext context{*composition, *machine, position};
  double result = 0;
  uint32_t start = 0;

  ZelvoEvaluator(const char* expression, Variables& variables) {
    tables::emit_instruction(context, machine::Op::kEnd);
    double* values[] = {&variables.x, &variables.y, &variables.g, &variables.k};
    const char* names[] = {"x", "y", "g", "k"};
    for (int32_t i = 0; i < 4; ++i) {
      std::strcpy(composition->symbols[i].name, names[i]);
      machine->symbol_values[i] = values[i];
    }
    composition->symbol_count = 4;
    start = tables::begin_program(context);
    char cell[tables::kLineBufferSize];
    std::snprintf(cell, sizeof cell, "%s", expression);
    tables::compile_cell(context, cell);
    tables::emit_instruction(context, machine::Op::kPopTarget, tables::add_target(context, &result));
    tables::end_program(context);
    machine::prepare_programs(*machine);
  }
  double evaluate() {
    machine::run_program(*machine, start);
    return result;
  }
};

#ifdef ZELVO_HAVE_MUPARSER
double mu_nrand(void* m, double x) { return machine::nrand(*static_cast<machine::MachineState*>(m), x); }
double mu_li(void* m, double s, double on) { return machine::li(*static_cast<machine::MachineState*>(m), s, on); }
double mu_lv(void* m, double key, double v) { return machine::lv(*static_cast<machine::MachineState*>(m), key, v); }
double mu_lr(void* m, double lo, double hi, double v) {
  return machine::lr(*static_cast<machine::MachineState*>(m), lo, hi, v);
}
double mu_itp(double x0, double y0, double x1, double y1, double x) { return machine::itp(x0, y0, x1, y1, x); }

struct MuparserEvaluator {
  mu::Parser parser;
  MuparserEvaluator(const char* expression, Variables& variables, machine::MachineState& registers) {
    parser.DefineVar("x", &variables.x);
    parser.DefineVar("y", &variables.y);
    parser.DefineVar("g", &variables.g);
    parser.DefineVar("k", &variables.k);
    parser.DefineFun("int", whole);
    parser.DefineFun("itp", mu_itp);
    // The list registers and the random state change: no constant folding.
    parser.DefineFunUserData("nrand", mu_nrand, &registers, false);
    parser.DefineFunUserData("li", mu_li, &registers, false);
    parser.DefineFunUserData("lv", mu_lv, &registers, false);
    parser.DefineFunUserData("lr", mu_lr, &registers, false);
    parser.SetExpr(expression);
  }
  double evaluate() { return parser.Eval(); }
};
#endif

#ifdef ZELVO_HAVE_LUA
machine::MachineState& lua_registers(lua_State* lua) {
  return *static_cast<machine::MachineState*>(lua_touserdata(lua, lua_upvalueindex(1)));
}
int lua_nrand(lua_State* lua) {
  lua_pushnumber(lua, machine::nrand(lua_registers(lua), luaL_checknumber(lua, 1)));
  return 1;
}
int lua_li(lua_State* lua) {
  lua_pushnumber(lua, machine::li(lua_registers(lua), luaL_checknumber(lua, 1), luaL_checknumber(lua, 2)));
  return 1;
}
int lua_lv(lua_State* lua) {
  lua_pushnumber(lua, machine::lv(lua_registers(lua), luaL_checknumber(lua, 1), luaL_checknumber(lua, 2)));
  return 1;
}
int lua_lr(lua_State* lua) {
  lua_pushnumber(lua, machine::lr(lua_registers(lua), luaL_checknumber(lua, 1), luaL_checknumber(lua, 2),
                                  luaL_checknumber(lua, 3)));
  return 1;
}
int lua_itp(lua_State* lua) {
  lua_pushnumber(lua, machine::itp(luaL_checknumber(lua, 1), luaL_checknumber(lua, 2), luaL_checknumber(lua, 3),
                                   luaL_checknumber(lua, 4), luaL_checknumber(lua, 5)));
  return 1;
}
int lua_int(lua_State* lua) {
  lua_pushnumber(lua, whole(luaL_checknumber(lua, 1)));
  return 1;
}

struct LuaEvaluator {
  lua_State* lua = luaL_newstate();
  const Variables& variables;
  int function = LUA_NOREF;

  LuaEvaluator(const char* expression, const Variables& v, machine::MachineState& registers) : variables(v) {
    luaL_openlibs(lua);
    const std::pair<const char*, lua_CFunction> functions[] = {
        {"nrand", lua_nrand}, {"li", lua_li}, {"lv", lua_lv}, {"lr", lua_lr}, {"itp", lua_itp}, {"int", lua_int}};
    for (const auto& [name, function] : functions) {
      lua_pushlightuserdata(lua, &registers);
      lua_pushcclosure(lua, function, 1);
      lua_setglobal(lua, name);
    }
    const std::string chunk = std::string("return function(x, y, g, k) return ") + expression + " end";
    if (luaL_dostring(lua, chunk.c_str()) != LUA_OK) {
      std::fprintf(stderr, "lua: %s\n", lua_tostring(lua, -1));
      lua_pop(lua, 1);
      return;
    }
    function = luaL_ref(lua, LUA_REGISTRYINDEX);
  }
  ~LuaEvaluator() { lua_close(lua); }
  double evaluate() {
    lua_rawgeti(lua, LUA_REGISTRYINDEX, function);
    lua_pushnumber(lua, variables.x);
    lua_pushnumber(lua, variables.y);
    lua_pushnumber(lua, variables.g);
    lua_pushnumber(lua, variables.k);
    lua_call(lua, 4, 1);
    const double result = lua_tonumber(lua, -1);
    lua_pop(lua, 1);
    return result;
  }
};
#endif

struct NativeEvaluator {
  const Case& c;
  const Variables& variables;
  machine::MachineState& registers;
  double evaluate() { return c.native(variables, registers); }
};

// Every evaluator's registers start from the same random state.
std::unique_ptr<machine::MachineState> fresh_registers() {
  auto registers = std::make_unique<machine::MachineState>();
  registers->random_state = 12345;
  return registers;
}

// The first evaluations must agree with the machine's, bit for bit, or the
// comparison would measure different work.
template <typename Make>
void measure(benchmark::State& state, const Case& c, Make make) {
  Variables variables;
  auto registers = fresh_registers();
  auto evaluator = make(c, variables, *registers);
  Variables reference_variables;
  ZelvoEvaluator reference(c.zelvo, reference_variables);
  reference.machine->random_state = 12345;
  for (uint32_t i = 0; i < 64; ++i) {
    variables.step(i);
    reference_variables.step(i);
    const double expected = reference.evaluate();
    const double got = evaluator->evaluate();
    if (std::memcmp(&expected, &got, sizeof got) != 0) {
      state.SkipWithError(("differs from the machine: " + std::to_string(got) + " for " +
                           std::to_string(expected)).c_str());
      return;
    }
  }
  uint32_t i = 0;
  for (auto _ : state) {
    variables.step(++i);
    benchmark::DoNotOptimize(evaluator->evaluate());
  }
}

constexpr int kRepetitions = 5;

// Collects the median time per evaluation of each benchmark's repetitions
// (the shared machine's load makes single runs vary) and prints the
// comparison table after the runs.
class PeerTable : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred || run.run_type != Run::RT_Aggregate || run.aggregate_name != "median") continue;
      const std::string name = run.run_name.function_name;
      const auto slash = name.rfind('/');
      times_[name.substr(0, slash)][name.substr(slash + 1)] = run.GetAdjustedCPUTime();
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    const char* peers[] = {"muparser", "lua", "native"};
    std::printf("\nStack machine against its peers (ns per evaluation, median of %d runs; ratio = peer time / machine time)\n",
                kRepetitions);
    std::printf("%-20s %9s %18s %18s %18s\n", "expression", "zelvo", "muparser", "lua", "native");
    int32_t slower = 0;
    int32_t compared = 0;
    for (const Case& c : kCases) {
      const auto row = times_.find(std::string("Machine/") + c.name);
      if (row == times_.end() || row->second.count("zelvo") == 0) continue;
      const double zelvo = row->second.at("zelvo");
      std::printf("%-20s %9.1f", c.name, zelvo);
      for (const char* peer : peers) {
        const auto time = row->second.find(peer);
        if (time == row->second.end()) {
          std::printf(" %18s", "-");
          continue;
        }
        std::printf(" %9.1f (%5.2fx)", time->second, time->second / zelvo);
        if (std::strcmp(peer, "native") != 0) {
          ++compared;
          if (time->second <= zelvo) ++slower;
        }
      }
      std::printf("\n");
    }
    std::printf("The machine is faster than muparser and Lua on %d of %d comparisons.\n", compared - slower, compared);
  }

 private:
  std::map<std::string, std::map<std::string, double>> times_;
};

void register_all() {
  for (const Case& c : kCases) {
    const std::string prefix = std::string("Machine/") + c.name + "/";
    benchmark::RegisterBenchmark((prefix + "zelvo").c_str(), [&c](benchmark::State& state) {
      measure(state, c, [](const Case& k, Variables& v, machine::MachineState& r) {
        auto zelvo = std::make_unique<ZelvoEvaluator>(k.zelvo, v);
        zelvo->machine->random_state = r.random_state;
        return zelvo;
      });
    })->Repetitions(kRepetitions)->DisplayAggregatesOnly(true);
#ifdef ZELVO_HAVE_MUPARSER
    benchmark::RegisterBenchmark((prefix + "muparser").c_str(), [&c](benchmark::State& state) {
      measure(state, c, [](const Case& k, Variables& v, machine::MachineState& r) {
        return std::make_unique<MuparserEvaluator>(k.muparser, v, r);
      });
    })->Repetitions(kRepetitions)->DisplayAggregatesOnly(true);
#endif
#ifdef ZELVO_HAVE_LUA
    benchmark::RegisterBenchmark((prefix + "lua").c_str(), [&c](benchmark::State& state) {
      measure(state, c, [](const Case& k, Variables& v, machine::MachineState& r) {
        return std::make_unique<LuaEvaluator>(k.lua, v, r);
      });
    })->Repetitions(kRepetitions)->DisplayAggregatesOnly(true);
#endif
    benchmark::RegisterBenchmark((prefix + "native").c_str(), [&c](benchmark::State& state) {
      measure(state, c, [](const Case& k, Variables& v, machine::MachineState& r) {
        return std::make_unique<NativeEvaluator>(NativeEvaluator{k, v, r});
      });
    })->Repetitions(kRepetitions)->DisplayAggregatesOnly(true);
  }
}

}  // namespace

int main(int argc, char** argv) {
  register_all();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  PeerTable table;
  benchmark::RunSpecifiedBenchmarks(&table);
  benchmark::Shutdown();
  return 0;
}
