#include "BuiltInCommands.h"

namespace {

// Every command but the two dry-contact ones starts with this parameter.
constexpr char kChannel[] = "RTS channel selection";
constexpr std::int32_t kChannelMax = 15;

struct TCommandRow {
  const char* Category;
  const char* MessageName;
  const char* Msg;
  const char* Len;
  const char* Description;
};

TCommand& AddCommand(TListCommands& commands, const TCommandRow& row) {
  TCommand& command = commands.Add(row.Category);
  command.Description = row.Description;
  command.MessageName = row.MessageName;
  command.Msg = row.Msg;
  command.Len = row.Len;
  return command;
}

}  // namespace

// The defaults of "US mode", "CE mode", "Range", "Tilting value" and "Dimming value" lie below
// their minimum on purpose: the editors start at 0 until the user picks a value. ST_DCT_LOCK's
// length code "0C" is one less than its two parameters would suggest; the device expects it so.
void AddBuiltInCommands(TListCommands& commands) {
  TCommand* c = &AddCommand(commands, {"Setting", "SET_CHANNEL_MODE", "90", "0F",
                                       "Configure application modes:\n\n- CE/US ergonomics\n"
                                       "- Rolling/Tilting mode\n- MODULIS mode"});
  c->AddInteger(kChannel, 0, kChannelMax, 0);
  c->AddList("Mode", "0=CE Mode;1=US Mode (Default)", 1);
  c->AddList("Rolling/Tilting mode", "0=Rolling Mode (Default);1=Tilting Mode", 0);
  c->AddList("MODULIS mode", "0=Normal Mode;1=Modulis Mode (Default)", 1);

  c = &AddCommand(commands, {"Setting", "SET_TILT_FRAMECOUNT", "91", "0E",
                             "Set number of RTS frames to send on a CTRL_TILT order"});
  c->AddInteger(kChannel, 0, kChannelMax, 0);
  c->AddInteger("US mode", 4, 255, 0);
  c->AddInteger("CE mode", 2, 13, 0);

  c = &AddCommand(commands, {"Setting", "SET_DIM_FRAMECOUNT", "92", "0D",
                             "Set number of RTS frames to send on a CTRL_DIM order"});
  c->AddInteger(kChannel, 0, kChannelMax, 0);
  c->AddInteger("Range", 4, 255, 0);

  c = &AddCommand(commands, {"Setting", "SET_SUN_AUTO", "93", "0D", "Sun Auto ON/OFF"});
  c->AddInteger(kChannel, 0, kChannelMax, 0);
  c->AddList("Status", "0=ON;1=OFF", 0);

  c = &AddCommand(commands,
                  {"Setting", "ST_DCT_LOCK", "94", "0C", "Lock / Unlock dry contacts inputs"});
  c->AddList("Inputs",
             "0=All dry contact inputs;1=dry contact #1;2=dry contact #2;3=dry contact #3;"
             "4=dry contact #4;5=dry contact #5",
             0);
  c->AddList("Status", "0=Unlock;1=Lock", 0);

  c = &AddCommand(commands, {"Setting", "SET_CHANNEL", "97", "0C", "Send PROG command"});
  c->AddInteger(kChannel, 0, kChannelMax, 0);

  c = &AddCommand(commands,
                  {"Setting", "SET_OPEN_PROG", "98", "0C", "Open the programmation mode"});
  c->AddInteger(kChannel, 0, kChannelMax, 0);

  c = &AddCommand(commands, {"Setting", "SET_IP", "9A", "0C",
                             "Save favorite position as Intermediate Position"});
  c->AddInteger(kChannel, 0, kChannelMax, 0);

  c = &AddCommand(commands, {"Control", "CTRL_POSITION", "80", "0D",
                             "Move UP / Light ON\nMove DOWN / Light OFF\nSTOP movement\n"
                             "Move to favorite position / Switch light ON with favorite light "
                             "level"});
  c->AddInteger(kChannel, 0, kChannelMax, 0);
  c->AddList("Action", "1=UP/ON;2=DOWN/OFF;3=STOP;4=Favorite position/light level", 0);

  c = &AddCommand(commands, {"Control", "CTRL_TILT", "81", "0E", "Tilt +/-"});
  c->AddInteger(kChannel, 0, kChannelMax, 0);
  c->AddList("Action", "0=Tilt +;1=Tilt -", 0);
  c->AddInteger("Tilting value", 1, 127, 0);

  c = &AddCommand(commands, {"Control", "CTRL_DIM", "82", "0E", "Dim +/-"});
  c->AddInteger(kChannel, 0, kChannelMax, 0);
  c->AddList("Action", "0=Dim +;1=Dim -", 0);
  c->AddInteger("Dimming value", 1, 127, 0);

  c = &AddCommand(
      commands, {"Status", "GET_CHANNEL_MODE", "A0", "0C", "Read application modes configuration"});
  c->AddInteger(kChannel, 0, kChannelMax, 0);

  c = &AddCommand(commands, {"Status", "GET_TILT_FRAMECOUNT", "A1", "0C",
                             "Read RTS frame count for CTRL_TILT order"});
  c->AddInteger(kChannel, 0, kChannelMax, 0);

  c = &AddCommand(commands, {"Status", "GET_DIM_FRAMECOUNT", "A2", "0C",
                             "Read RTS frame count for CTRL_DIM order"});
  c->AddInteger(kChannel, 0, kChannelMax, 0);

  AddCommand(commands,
             {"Status", "GET_DCT_LOCK", "A4", "0B", "Read dry contacts lock configuration"});
}
