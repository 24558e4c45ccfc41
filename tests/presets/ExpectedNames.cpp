// The names of all 150 program slots after construction, in slot order, as the shipped bank
// has them: the byte pair C2 96 before most tone frequencies, the plain hyphen in slots 136
// and 137, and the typos are all part of the names.
#include "tests/presets/ExpectedBank.h"

// clang-format off
const char* const kExpectedNames[150] = {
    "---- default ----", // 1
    "Higher frequencies", // 2
    "Modulated Binaural", // 3
    "Modulated Binaural Golden", // 4
    "Shift Between Ears", // 5
    "Modulated Base Freq", // 6
    "Triangle waves", // 7
    "Saw waves", // 8
    "Square waves", // 9
    "Golden Sine", // 10
    "Golden Sine Half", // 11
    "Golden Triangle", // 12
    "Golden Square", // 13
    "Binaural - 0.2 (Dental pain)", // 14
    "Binaural - 0.28 (Arthritis)", // 15
    "Binaural - 0.3 (Depression)", // 16
    "Binaural - 0.37 (Drug addiction)", // 17
    "Binaural - 0.4 (Confusion)", // 18
    "Binaural - 0.5 (Post traumatics)", // 19
    "Binaural - 0.9 (Euphoria)", // 20
    "Binaural - 1 (Feeling of well-being, pituitary stimulation)", // 21
    "Binaural - 1.45 (Tri-thalamic entrainment, Alzheimer)", // 22
    "Binaural - 1.5 (Abrahams universal healing rate)", // 23
    "Binaural - 1.8 (Sinus congestion)", // 24
    "Binaural - 2.0 (Nerve regeneration)", // 25
    "Binaural - 2.06 (Associated with coccyx)", // 26
    "Binaural - 2.2 (Dreamless sleep, trance state)", // 27
    "Binaural - 2.3 (Associated with genitals)", // 28
    "Binaural - 2.57 (Associated with bladder)", // 29
    "Binaural - 2.67 (Associated with intestines)", // 30
    "Binaural - 3.0 (Increased Reaction Time)", // 31
    "Binaural - 3.4 (Sound sleep)", // 32
    "Binaural - 3.44 (Associated with ovaries)", // 33
    "Binaural - 3.5 (Feeling of unity with everythin)", // 34
    "Binaural - 3.6 (Remedy for anger & irritability)", // 35
    "Binaural - 3.84 (Associated with the liver/pancreas)", // 36
    "Binaural - 4.0 (Extrasensory perception, astral Projection)", // 37
    "Binaural - 4.11 (Associated with kidneys)", // 38
    "Binaural - 4.5 (Shamanic & Tibetan state of consciousness)", // 39
    "Binaural - 4.6 (Associated with spleen & blood)", // 40
    "Binaural - 4.9 (Relaxation & meditation)", // 41
    "Binaural - 5.0 (Relaxed states, pain-relief)", // 42
    "Binaural - 5.14 (Associated with stomach)", // 43
    "Binaural - 5.35 (Associated with lungs)", // 44
    "Binaural - 5.5 (Beyond knowledge to knowing)", // 45
    "Binaural - 5.8 (Reduce fear, absent-mindedness)", // 46
    "Binaural - 6.0 (Creative visualization)", // 47
    "Binaural - 6.15 (Associated with heart)", // 48
    "Binaural - 6.3 (Mental & astral projection)", // 49
    "Binaural - 7.0 (Mental & astral projection 2)", // 50
    "Binaural - 7.5 (Inter-awareness of self)", // 51
    "Binaural - 7.8 (Stimulates ESP, paranormal)", // 52
    "Binaural - 8.0 (Learning new information)", // 53
    "Binaural - 8.6 (Induces sleep, tingling sensations)", // 54
    "Binaural - 9.0 (Awareness of causes of body imbalance)", // 55
    "Binaural - 9.41 (Pyramid frequency)", // 56
    "Binaural - 9.6 (Earth's magnetic field)", // 57
    "Binaural - 10.6 (Relaxed & alert)", // 58
    "Binaural - 11.0 (Focused alertness)", // 59
    "Binaural - 14.1 (Earth Resonance)", // 60
    "Binaural - 15.0 (Euphoria)", // 61
    "Binaural - 20.3 (Earth Resonance)", // 62
    "Binaural - 22.02 (Serotonin)", // 63
    "Binaural - 26.4 (Earth Resonance)", // 64
    "Binaural - 30.0 (Associated with marijuana)", // 65
    "Binaural - 31.32 (Pituitary stimulation to release growth hormone)", // 66
    "Binaural - 32.0 (Desensitizer; enhanced vigour & alertnes)", // 67
    "Binaural - 33.0 (Christ consciousness)", // 68
    "Binaural - 35.0 (Awakening of mid-chakras, balance of chakras)", // 69
    "Binaural - 38.0 (Endorphin release)", // 70
    "Binaural - 46.98 (Useful for weird effects)", // 71
    "Binaural - 55.0 (Tantric yoga, stimulates the kundalini)", // 72
    "Binaural - 63.5 (Astral projection)", // 73
    "Binaural - 70.0 (Mental & astral projection)", // 74
    "Binaural - 83.0 (Third eye opening)", // 75
    "Binaural - 90.0 (Pleasure, producing beta-endorphins)", // 76
    "Binaural - 105.0 (Overall view of complete situation)", // 77
    "Binaural - 108.0 (Total knowing)", // 78
    "Binaural - 111.0 (Beta endorphins)", // 79
    "Binaural - 176.0 (Associated with colon)", // 80
    "Binaural - 8.0 (Muladhara chakra)", // 81
    "Binaural - 9.0 (Svadhisthana chakra)", // 82
    "Binaural - 10.0 (Manipura chakra)", // 83
    "Binaural - 10.5 (Anahata chakra)", // 84
    "Binaural - 12.0 (Vishuddha chakra)", // 85
    "Binaural - 13.0 (Ajna chakra)", // 86
    "Binaural - 15.0 (Sahasrara chakra)", // 87
    "Binaural - 7.83 (Schumann Resonance)", // 88
    "Binaural - 14.3 (Schumann Resonance)", // 89
    "Binaural - 20.8 (Schumann Resonance)", // 90
    "Binaural - 27.3 (Schumann Resonance)", // 91
    "Binaural - 33.8 (Schumann Resonance)", // 92
    "Binaural - 126.22 (Sun: light, warmth, joy, animus)", // 93
    "Binaural - 136.1 (Earth: resonates with the earth year)", // 94
    "Binaural - 140.25 (Pluto: power, crisis & changes)", // 95
    "Binaural - 141.27 (Mercury: intellectuality, mobility)", // 96
    "Binaural - 144.72 (Mars: activity, energy, freedom, humor)", // 97
    "Binaural - 147.85 (Saturn: separation, sorrow, death)", // 98
    "Binaural - 183.58 (Jupiter: growth, success, justice, spirituality)", // 99
    "Binaural - 194.71 (Earth: stability, grounding)", // 100
    "Binaural - 207.36 (Uranus: spontaneity, independence, originality)", // 101
    "Binaural - 211.44 (Neptune: the unconscious, secrets, imagination, spiritual love)", // 102
    "Binaural - 221.23 (Venus: beauty, love, sexuality, sensuality, harmony)", // 103
    "Healing \xC2\x96 110 Hz (Stomach)", // 104
    "Healing \xC2\x96 117.3 Hz (Pancreas)", // 105
    "Healing \xC2\x96 164.3 Hz (Gall Bladder)", // 106
    "Healing \xC2\x96 176 Hz (Colon)", // 107
    "Healing \xC2\x96 220 Hz (Lungs)", // 108
    "Healing \xC2\x96 264 Hz (Personality)", // 109
    "Healing \xC2\x96 281.6 Hz (Small Intestine)", // 110
    "Healing \xC2\x96 295.8 Hz (Fat Cells)", // 111
    "Healing \xC2\x96 317.8 Hz (Liver)", // 112
    "Healing \xC2\x96 319.9 Hz (Kidneys)", // 113
    "Healing \xC2\x96 321.9 Hz (Blood)", // 114
    "Healing \xC2\x96 324 Hz (Muscles)", // 115
    "Healing \xC2\x96 352 Hz (Bladder)", // 116
    "Healing \xC2\x96 418.3 Hz (Bones)", // 117
    "Healing \xC2\x96 432 Hz (Natural, harmonic intonation of nature)", // 118
    "Healing \xC2\x96 492 Hz (Spleen)", // 119
    "Healing \xC2\x96 492.8 Hz (Adrenals, thyroid & parathyroid)", // 120
    "Healing \xC2\x96 586 Hz (Circulation  & sex)", // 121
    "Solfeggio UT \xC2\x96 396 Hz (Turning grief into joy, liberating Guilt and Fear)", // 122
    "Solfeggio UT \xC2\x96 396 Hz LFO", // 123
    "Solfeggio RE \xC2\x96 417 Hz (Undoing Situations and Facilitating Change)", // 124
    "Solfeggio RE \xC2\x96 417 Hz LFO", // 125
    "Solfeggio MI \xC2\x96 528 Hz (Transformation and Miracles, DNA Repair)", // 126
    "Solfeggio MI \xC2\x96 528 Hz LFO", // 127
    "Solfeggio FA \xC2\x96 639 Hz (Relationship, connecting with spiritual family)", // 128
    "Solfeggio FA \xC2\x96 639 Hz LFO", // 129
    "Solfeggio SOL \xC2\x96 741 Hz (Solving problems, expressions/solutions)", // 130
    "Solfeggio SOL \xC2\x96 741 Hz LFO", // 131
    "Solfeggio LA \xC2\x96 852 Hz (Awakening Intuition, returning to Spiritual Order)", // 132
    "Solfeggio LA \xC2\x96 852 Hz LFO", // 133
    "Solfeggio SI \xC2\x96 963 Hz (Awakens any system to its original, perfect state)", // 134
    "Solfeggio SI \xC2\x96 963 Hz LFO", // 135
    "Solfeggio - 174 Hz (Natural anaesthetic, reduce pain physically and energetically)", // 136
    "Solfeggio - 174 Hz LFO", // 137
    "Solfeggio \xC2\x96 285 Hz (Return tissue into its original form, influences energy fields)", // 138
    "Solfeggio \xC2\x96 285 Hz LFO", // 139
    "Solfeggio \xC2\x96 936 Hz (Pineal Gland Activator)", // 140
    "Solfeggio \xC2\x96 936 Hz Hz LFO", // 141
    "- 142 -", // 142
    "- 143 -", // 143
    "- 144 -", // 144
    "- 145 -", // 145
    "- 146 -", // 146
    "- 147 -", // 147
    "- 148 -", // 148
    "- 149 -", // 149
    "- 150 -", // 150
};
// clang-format on
