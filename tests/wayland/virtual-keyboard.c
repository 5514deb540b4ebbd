/* A keyboard on a Wayland compositor's seat, driven from standard input, for
 * walks through the real program under sway.
 *
 *   virtual-keyboard [LAYOUT]       one chord a line: "Left", "v", "alt+s"
 *
 * It uploads one full keymap when it starts and keeps it for as long as it
 * runs. Keys reach a program only while a keyboard is on the seat, and
 * Xwayland reads every key with the keymap it knew before the last upload,
 * so a keymap sent anew with each key would lose the modifiers there.
 * After each chord, once the compositor has received it, it prints the
 * chord back, so that a script knows when to look. */
#define _GNU_SOURCE
#include "virtual-keyboard-unstable-v1-client-protocol.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

struct globals {
	struct wl_seat *seat;
	struct zwp_virtual_keyboard_manager_v1 *manager;
};

struct keyboard {
	struct wl_display *display;
	struct zwp_virtual_keyboard_v1 *device;
	struct xkb_keymap *keymap;
	struct xkb_state *state;
};

static void fail(const char *message)
{
	fprintf(stderr, "virtual-keyboard: %s\n", message);
	exit(1);
}

static void announce(void *data, struct wl_registry *registry, uint32_t name, const char *interface,
		     uint32_t version)
{
	struct globals *globals = data;
	(void)version;
	if (strcmp(interface, wl_seat_interface.name) == 0 && !globals->seat)
		globals->seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
	else if (strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name) == 0)
		globals->manager = wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1);
}

static void withdraw(void *data, struct wl_registry *registry, uint32_t name)
{
	(void)data;
	(void)registry;
	(void)name;
}

static const struct wl_registry_listener registry_listener = {announce, withdraw};

static uint32_t now_ms(void)
{
	struct timespec now;
	clock_gettime(CLOCK_MONOTONIC, &now);
	return (uint32_t)(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

static void pause_ms(long ms)
{
	struct timespec span = {ms / 1000, (ms % 1000) * 1000000};
	nanosleep(&span, NULL);
}

/* The keymap goes to the compositor as a file of its text. */
static void upload_keymap(struct keyboard *keyboard)
{
	char *text = xkb_keymap_get_as_string(keyboard->keymap, XKB_KEYMAP_FORMAT_TEXT_V1);
	if (!text)
		fail("cannot write the keymap out");
	size_t size = strlen(text) + 1;
	int fd = memfd_create("keymap", MFD_CLOEXEC);
	if (fd < 0 || write(fd, text, size) != (ssize_t)size)
		fail("cannot hold the keymap in a file");
	zwp_virtual_keyboard_v1_keymap(keyboard->device, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd, (uint32_t)size);
	close(fd);
	free(text);
}

/* The key that gives the symbol on its first level, as a kernel key code; 0
 * when no key of the keymap does. */
static uint32_t key_for(struct xkb_keymap *keymap, const char *name)
{
	xkb_keysym_t wanted = xkb_keysym_from_name(name, XKB_KEYSYM_NO_FLAGS);
	if (wanted == XKB_KEY_NoSymbol)
		wanted = xkb_keysym_from_name(name, XKB_KEYSYM_CASE_INSENSITIVE);
	if (wanted == XKB_KEY_NoSymbol)
		return 0;
	for (xkb_keycode_t code = xkb_keymap_min_keycode(keymap); code <= xkb_keymap_max_keycode(keymap); ++code) {
		const xkb_keysym_t *symbols;
		int count = xkb_keymap_key_get_syms_by_level(keymap, code, 0, 0, &symbols);
		for (int i = 0; i < count; ++i)
			if (symbols[i] == wanted)
				return code - 8; /* xkb numbers keys from the kernel's code plus 8 */
	}
	return 0;
}

/* One key goes down or up; the modifiers follow as a real keyboard's do. */
static void send_key(struct keyboard *keyboard, uint32_t key, int down)
{
	zwp_virtual_keyboard_v1_key(keyboard->device, now_ms(), key,
				    down ? WL_KEYBOARD_KEY_STATE_PRESSED : WL_KEYBOARD_KEY_STATE_RELEASED);
	xkb_state_update_key(keyboard->state, key + 8, down ? XKB_KEY_DOWN : XKB_KEY_UP);
	zwp_virtual_keyboard_v1_modifiers(keyboard->device,
					  xkb_state_serialize_mods(keyboard->state, XKB_STATE_MODS_DEPRESSED),
					  xkb_state_serialize_mods(keyboard->state, XKB_STATE_MODS_LATCHED),
					  xkb_state_serialize_mods(keyboard->state, XKB_STATE_MODS_LOCKED),
					  xkb_state_serialize_layout(keyboard->state, XKB_STATE_LAYOUT_EFFECTIVE));
	wl_display_roundtrip(keyboard->display);
	pause_ms(30);
}

/* A chord such as "ctrl+shift+Left": the modifiers go down in order, the key
 * is struck, the modifiers come up in reverse. */
static int strike(struct keyboard *keyboard, char *chord)
{
	static const struct {
		const char *word;
		const char *key;
	} modifiers[] = {{"alt", "Alt_L"}, {"ctrl", "Control_L"}, {"shift", "Shift_L"}, {"super", "Super_L"}};
	uint32_t held[8];
	int count = 0;
	char *part = chord;
	for (char *plus; (plus = strchr(part, '+')) && plus[1] != '\0'; part = plus + 1) {
		*plus = '\0';
		uint32_t key = 0;
		for (size_t i = 0; i < sizeof modifiers / sizeof modifiers[0]; ++i)
			if (strcmp(part, modifiers[i].word) == 0)
				key = key_for(keyboard->keymap, modifiers[i].key);
		if (key == 0 || count == (int)(sizeof held / sizeof held[0]))
			return 0;
		held[count++] = key;
	}
	uint32_t key = key_for(keyboard->keymap, part);
	if (key == 0)
		return 0;
	for (int i = 0; i < count; ++i)
		send_key(keyboard, held[i], 1);
	send_key(keyboard, key, 1);
	send_key(keyboard, key, 0);
	for (int i = count - 1; i >= 0; --i)
		send_key(keyboard, held[i], 0);
	return 1;
}

int main(int argc, char **argv)
{
	struct globals globals = {0};
	struct keyboard keyboard = {0};
	keyboard.display = wl_display_connect(NULL);
	if (!keyboard.display)
		fail("no Wayland compositor to connect to");
	struct wl_registry *registry = wl_display_get_registry(keyboard.display);
	wl_registry_add_listener(registry, &registry_listener, &globals);
	wl_display_roundtrip(keyboard.display);
	if (!globals.seat || !globals.manager)
		fail("the compositor offers no seat or no virtual keyboards");

	struct xkb_context *context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
	struct xkb_rule_names names = {.rules = "evdev", .model = "pc105", .layout = argc > 1 ? argv[1] : "us"};
	keyboard.keymap = context ? xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS) : NULL;
	if (!keyboard.keymap)
		fail("cannot compile the keymap");
	keyboard.state = xkb_state_new(keyboard.keymap);
	keyboard.device = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(globals.manager, globals.seat);
	upload_keymap(&keyboard);
	if (wl_display_roundtrip(keyboard.display) < 0)
		fail("the compositor refused the keyboard");

	char line[256];
	while (fgets(line, sizeof line, stdin)) {
		line[strcspn(line, "\r\n")] = '\0';
		if (line[0] == '\0')
			continue;
		char chord[sizeof line];
		strcpy(chord, line);
		if (!strike(&keyboard, chord)) {
			fprintf(stderr, "virtual-keyboard: no key for %s\n", line);
			printf("unknown %s\n", line);
		} else if (wl_display_get_error(keyboard.display)) {
			fail("the compositor closed the connection");
		} else {
			printf("%s\n", line);
		}
		fflush(stdout);
	}

	zwp_virtual_keyboard_v1_destroy(keyboard.device);
	wl_display_roundtrip(keyboard.display);
	xkb_state_unref(keyboard.state);
	xkb_keymap_unref(keyboard.keymap);
	xkb_context_unref(context);
	wl_display_disconnect(keyboard.display);
	return 0;
}
