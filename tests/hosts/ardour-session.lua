-- Drives a headless Ardour session (ardour7-lua) around the plug-in, the way a user's session would:
--   create SESSION_DIR NAME TYPE OUT_DIR  a stereo track with the plug-in; saves the snapshots "tones"
--                                         (a 10 Hz beat) and "automation" (a "Binaural" curve) for
--                                         ardour7-export to render; "values" with every parameter at a
--                                         value other than its default (also in OUT_DIR/values.txt); and
--                                         "program" with a factory program, to render
--   reload SESSION_DIR NAME TYPE OUT_DIR  opens "values" in a fresh process and compares the plug-in's
--                                         values with OUT_DIR/values.txt
-- TYPE is Ardour's plug-in type: LXVST, VST3 or LV2. Prints "ok ..." per passed check, "FAIL ..." and
-- an error (a non-zero exit) on the first failure. (Exports run in ardour7-export, not in this script:
-- Ardour 7.3's Lua export often crashes the process when it finishes.)
local mode, session_dir, plugin_name, type_name, out_dir = arg[1], arg[2], arg[3], arg[4], arg[5]
io.stdout:setvbuf("line")
local rate = 48000
local seconds = 5
local track_name = "Tone"
local session_name = "host-test"
local factory_program = "Higher frequencies"

local function fail(message)
	print("FAIL " .. message)
	error(message)
end

local function ok(message)
	print("ok   " .. message)
end

-- The dummy backend needs no sound card; Ardour hides it unless asked.
ARDOUR.config():set_hide_dummy_backend(false)
assert(AudioEngine:set_backend("None (Dummy)", "", ""), "no dummy backend")

-- The plug-in's parameters by index, with what Ardour knows of each.
local Plugin = {}
Plugin.__index = Plugin

function Plugin.on(processor)
	local self = setmetatable({}, Plugin)
	self.processor = processor
	self.insert = processor:to_insert()
	self.plugin = self.insert:plugin(0)
	self.automatable = processor:to_automatable()
	return self
end

function Plugin:control(index)
	return self.automatable:automation_control(
		Evoral.Parameter(ARDOUR.AutomationType.PluginAutomation, 0, index), false)
end

-- Input parameters in host order: their place among the controls (which), their port or parameter
-- index, name and range as Ardour shows them.
function Plugin:inputs()
	local list = {}
	-- Some formats answer any place as found: the parameter count bounds the walk.
	for which = 0, self.plugin:parameter_count() - 1 do
		local index, found = self.plugin:nth_parameter(which, true)
		if not found[2] then
			break
		end
		if self.plugin:parameter_is_input(index) then
			local _, d = self.plugin:get_parameter_descriptor(index, ARDOUR.ParameterDescriptor())
			list[#list + 1] = { which = which, index = index, name = self.plugin:parameter_label(index),
				lower = d[2].lower, upper = d[2].upper }
		end
	end
	return list
end

function Plugin:find(name)
	for _, p in ipairs(self:inputs()) do
		if p.name == name then
			return p
		end
	end
	fail("no parameter " .. name)
end

-- A value in the plug-in's own units (min..max, linear) as this format's host value: VST hosts see
-- normalised values, LV2 hosts the units themselves.
local function host_value(p, value, min, max)
	if math.abs(p.upper - max) < 1e-6 and math.abs(p.lower - min) < 1e-6 then
		return value
	end
	return p.lower + (value - min) / (max - min) * (p.upper - p.lower)
end

function Plugin:set(p, value)
	self:control(p.index):set_value(value, PBD.GroupControlDisposition.NoGroup)
end

-- What the plug-in itself reports, read back through the plug-in rather than Ardour's copy.
function Plugin:get(p)
	return self:control(p.index):get_value(), ARDOUR.LuaAPI.get_plugin_insert_param(self.insert, p.which, true)
end

-- Saves the session as a snapshot that ardour7-export renders. The export covers the session range,
-- which only the editor sets; a range marker over the first seconds is saved and turned into it.
local function save_snapshot(name)
	Session:save_state(name, false, false, false, false, false)
	local path = session_dir .. "/" .. name .. ".ardour"
	local file = assert(io.open(path, "r"))
	local xml = file:read("a")
	file:close()
	local fixed, count = xml:gsub('name="export range"([^>]*)flags="IsRangeMarker"',
		'name="session"%1flags="IsSessionRange"')
	if count ~= 1 then
		fail("no export range in " .. path)
	end
	file = assert(io.open(path, "w"))
	file:write(fixed)
	file:close()
	ok("saved snapshot " .. name)
end

local function find_plugin()
	local route = Session:route_by_name(track_name)
	if route:isnil() then
		fail("no track " .. track_name)
	end
	local processor = route:nth_plugin(0)
	if processor:isnil() then
		fail("no plug-in on the track")
	end
	return Plugin.on(processor)
end

-- "Binaural" follows a curve: 10 Hz for two seconds, a ramp to 50 Hz over the third, then 50 Hz.
local function write_binaural_curve(plugin, binaural)
	local control = plugin:control(binaural.index)
	local list = control:alist():list()
	local points = { { 0, 10 }, { 2, 10 }, { 3, 50 }, { seconds, 50 } }
	for _, point in ipairs(points) do
		local at = Temporal.timepos_t(math.floor(point[1] * rate))
		list:add(at, host_value(binaural, point[2], 0, 512), false, true)
	end
	control:set_automation_state(ARDOUR.AutoState.Play)
end

-- The plug-in's values by parameter index.
local function read_values(plugin)
	local values = {}
	for _, p in ipairs(plugin:inputs()) do
		local _, value = plugin:get(p)
		values[p.index] = value
	end
	return values
end

-- The LFO restart is a momentary button, not a setting: nameless in VST2, a trigger port in LV2 (and
-- hidden from VST3 hosts).
local momentary = { [""] = true, ["Restart LFOs"] = true }

-- Every setting to a value other than its default.
local function set_every_parameter(plugin, defaults)
	local lines = {}
	for n, p in ipairs(plugin:inputs()) do
		if not momentary[p.name] then
			local before = defaults[p.index]
			-- Switches shown as toggles take any value but their lower end as on: the ends come last.
			for _, fraction in ipairs({ 0.35 + 0.02 * (n % 10), 0.8, 0.1, 1, 0 }) do
				plugin:set(p, p.lower + fraction * (p.upper - p.lower))
				local _, now = plugin:get(p)
				if math.abs(now - before) > 1e-4 * (p.upper - p.lower) then
					break
				end
			end
			local _, now = plugin:get(p)
			if math.abs(now - before) <= 1e-4 * (p.upper - p.lower) then
				fail(p.name .. " keeps its default " .. before .. " whatever is set")
			end
			lines[#lines + 1] = string.format("%d %d %.9g %s", p.which, p.index, now, p.name)
		end
	end
	local file = assert(io.open(out_dir .. "/values.txt", "w"))
	file:write(table.concat(lines, "\n"), "\n")
	file:close()
	ok(#lines .. " parameters set away from their defaults")
end

-- A new track reaches the master bus from Ardour's auto-connect thread a moment later; a snapshot
-- saved before that renders silence.
local function wait_for_master(track)
	local outputs = track:output()
	for _ = 1, 100 do
		if outputs:audio(0):connected() and outputs:audio(1):connected() then
			return
		end
		sleep(0.05)
	end
	fail("the track never reached the master bus")
end

local function create()
	if create_session(session_dir, session_name, rate) == nil then
		fail("cannot create a session in " .. session_dir)
	end
	local found = false
	for info in ARDOUR.LuaAPI.list_plugins():iter() do
		if info.name == plugin_name and info.type == ARDOUR.PluginType[type_name] then
			found = true
		end
	end
	if not found then
		fail("Ardour does not list " .. plugin_name .. " as " .. type_name)
	end
	ok("Ardour lists " .. plugin_name .. " as " .. type_name)

	local tracks = Session:new_audio_track(2, 2, nil, 1, track_name, ARDOUR.PresentationInfo.max_order,
		ARDOUR.TrackMode.Normal, true)
	wait_for_master(tracks:front())
	local processor = ARDOUR.LuaAPI.new_plugin(Session, plugin_name, ARDOUR.PluginType[type_name], "")
	if processor:isnil() or tracks:front():add_processor_by_index(processor, 0, nil, true) ~= 0 then
		fail("cannot insert " .. plugin_name)
	end
	local plugin = Plugin.on(processor)
	local defaults = read_values(plugin)
	if #plugin:inputs() < 22 then
		fail("only " .. #plugin:inputs() .. " parameters")
	end
	ok("inserted on a stereo track with " .. #plugin:inputs() .. " parameters")

	-- The default program with a 10 Hz beat and no glide, so that the tones are steady from the start.
	local binaural = plugin:find("Binaural")
	plugin:set(plugin:find("Fade"), host_value(plugin:find("Fade"), 1, 1, 90000))
	plugin:set(binaural, host_value(binaural, 10, 0, 512))
	local range = Session:locations():add_range(Temporal.timepos_t(0), Temporal.timepos_t(seconds * rate))
	range:set_name("export range")
	save_snapshot("tones")

	write_binaural_curve(plugin, binaural)
	save_snapshot("automation")
	plugin:control(binaural.index):set_automation_state(ARDOUR.AutoState.Off)

	set_every_parameter(plugin, defaults)
	save_snapshot("values")

	-- Last, so that a host hanging here leaves the other snapshots to check.
	local program = plugin.plugin:preset_by_label(factory_program)
	if program == nil or not program.valid or not plugin.plugin:load_preset(program) then
		fail("no factory program " .. factory_program)
	end
	-- Ardour hears of the program's values, at once or within a few blocks: its mix of 90 % among them.
	local mix = plugin:find("Mix")
	local want = host_value(mix, 90, 0, 100)
	local shown, held
	for _ = 1, 40 do
		shown, held = plugin:get(mix)
		if math.abs(shown - want) <= 1e-4 and math.abs(held - want) <= 1e-4 then
			break
		end
		sleep(0.05)
	end
	if math.abs(shown - want) > 1e-4 or math.abs(held - want) > 1e-4 then
		fail(string.format("after the program Mix is %.6g (Ardour shows %.6g), not %.6g", held, shown, want))
	end
	ok("factory program " .. factory_program .. " loaded")
	save_snapshot("program")
end

local function reload()
	if load_session(session_dir, "values") == nil then
		fail("cannot load the session in " .. session_dir)
	end
	local plugin = find_plugin()
	local count = 0
	for line in io.lines(out_dir .. "/values.txt") do
		local which, index, value, name = line:match("^(%d+) (%d+) (%S+) (.*)$")
		local p = { which = tonumber(which), index = tonumber(index), name = name }
		local _, d = plugin.plugin:get_parameter_descriptor(p.index, ARDOUR.ParameterDescriptor())
		local tolerance = 1e-6 * math.max(1, d[2].upper - d[2].lower)
		local control, now = plugin:get(p)
		if math.abs(now - tonumber(value)) > tolerance or math.abs(control - tonumber(value)) > tolerance then
			fail(string.format("%s (%d) is %.9g (Ardour shows %.9g) after reload, saved %s", name, p.index,
				now, control, value))
		end
		count = count + 1
	end
	ok(count .. " parameters restored after reload")
end

if mode == "create" then
	create()
elseif mode == "reload" then
	reload()
else
	fail("unknown mode " .. tostring(mode))
end
close_session()
