//------------------------------------------------------------------------------
//  nplayer.cc
//------------------------------------------------------------------------------
#include "game/nplayer.h"
#include "audio3/nsound3.h"
#include "game/nai.h"
#include "game/napp.h"
#include "game/ngame.h"
#include "game/nplayerfile.h"
#include "mathlib/nmath.h"
#include "input/ninputserver.h"
#include "kernel/nenv.h"
#include "kernel/nkernelserver.h"

#include <algorithm>
#include <climits>

nPlayer* nPlayer::m_pSelf = nullptr;
const char* const nPlayer::BufferPath = "/usr/player-buffer";

namespace
{

nInputServer* InputServer()
{
    return dynamic_cast<nInputServer*>(nKernelServer::Instance()->Lookup("/sys/servers/input"));
}

void RunScript(const char* proc)
{
    if (nApp::HasInstance()) nApp::Instance()->RunScript(proc);
}

/// the value into the nenv, in the type it already has (an nenv keeps its first type)
void SetNumber(nEnv* env, float value)
{
    if (env->GetType() == nArg::Int) env->SetI((int)value);
    else if (env->GetType() == nArg::Float || env->GetType() == nArg::Void) env->SetF(value);
    else n_printf("nPlayer: '%s' holds no number; left as it is\n", env->GetName());
}

/// a + b, held at the largest int instead of wrapping (a saved count may be huge)
int SaturatingAdd(int a, int b)
{
    return (b > 0 && a > INT_MAX - b) ? INT_MAX : a + b;
}

}  // namespace

const nPlayer::Stat* nPlayer::Stats()
{
    static const Stat table[NumStats] = {
        {&nPlayer::healthMax, 50.0f, "health"},
        {&nPlayer::energyMax, 50.0f, "energy"},
        {&nPlayer::m_fEnergyRecRate, 4.0f, "energy-rec-rate"},
        {&nPlayer::m_fHandLength, 0.2f, "strike-length"},
        {&nPlayer::m_fStrength, 30.0f, "strength"},
        {&nPlayer::m_fFistMass, 0.1f, "fist-mass"},
        {&nPlayer::m_fMoveSpeed, 1.0f, "move-speed"},
        {&nPlayer::m_fLightness, 1.5f, "lightness"},
        {&nPlayer::m_fAccuracy, 0.05f, "accuracy"},
    };
    return table;
}

nPlayer::nPlayer() :
    m_iNextEnemy(0),
    m_iBonusValue(0),
    bonusProgress(0),
    pendingBonuses(0),
    scoreTotal(0),
    scoreCount(0),
    m_iScore(0),
    won(false)
{
    m_pSelf = this;
}

/*
 * ~nPlayer --
 *     Side effects: the progression is written (when the player was
 *     built from a prototype), the bonus sound goes, the instance is
 *     cleared.
 */
nPlayer::~nPlayer()
{
    if (this->m_refProto.isvalid()) this->WriteProgression();
    if (this->m_refBNSound.isvalid()) this->m_refBNSound->Stop();
    if (m_pSelf == this) m_pSelf = nullptr;
}

nPlayer* nPlayer::Instance()
{
    n_assert(m_pSelf);
    return m_pSelf;
}

nBar* nPlayer::GetHealthBar() const
{
    n_assert(m_refHealthBar.isvalid());
    return this->m_refHealthBar.get();
}

nBar* nPlayer::GetEnergyBar() const
{
    n_assert(m_refEnergyBar.isvalid());
    return this->m_refEnergyBar.get();
}

bool nPlayer::ReadVarI(const char* name, int& out) const
{
    nEnv* var = this->FindVar(name);
    if (!var || var->GetType() != nArg::Int) return false;
    out = var->GetI();
    return true;
}

bool nPlayer::WriteVarI(const char* name, int value)
{
    nEnv* var = this->FindVar(name);
    if (!var) return false;
    // through a float a count near the largest int would not come back
    if (var->GetType() == nArg::Int) var->SetI(value);
    else SetNumber(var, (float)value);
    return true;
}

bool nPlayer::WriteVarF(const char* name, float value)
{
    nEnv* var = this->FindVar(name);
    if (!var) return false;
    SetNumber(var, value);
    return true;
}

/*
 * NewBar --
 *     Results: the health or energy bar, a child of the player, with its
 *     textures, rectangles, length, full value and text label.
 */
nBar* nPlayer::NewBar(const char* name, bool health)
{
    kernelServer->PushCwd(this);
    nBar* bar = static_cast<nBar*>(kernelServer->New("nbar", name));
    kernelServer->PopCwd();
    if (!bar || !bar->HasWidgets()) return bar;
    const vector4 white(1.0f, 1.0f, 1.0f, 1.0f);
    const float y = health ? 0.0f : 0.03f;
    if (health)
    {
        bar->SetFrameTexture("textures:frame.png");
        bar->GetFrame()->SetRect(rectangle(vector2(0.74f, 0.906f), vector2(0.99f, 0.99f)));
        bar->GetFrame()->Show();
    }
    bar->SetBarTexture(health ? "textures:health-bar.png" : "textures:energy-bar.png");
    bar->SetTrailTexture(health ? "textures:health-bar-trail.png" : "textures:energy-bar-trail.png");
    const rectangle r(vector2(0.81f, 0.929f + y), vector2(0.976f, 0.939f + y));
    bar->GetBar()->SetRect(r);
    bar->GetTrail()->SetRect(r);
    bar->GetBar()->Show();
    bar->GetTrail()->Show();
    bar->SetLength(0.168f);
    bar->SetValue(1.0f);
    nGuiTextLabel* text = bar->GetTextLabel();
    text->SetAlignment(nGuiTextLabel::Left);
    text->SetColor(white);
    text->SetFont("game-bar");
    text->SetText(health ? "Health" : "Energy");
    // as high as a line of the font at the smallest display, centred on the bar
    text->SetRect(rectangle(vector2(0.747f, 0.919f + y), vector2(0.827f, 0.949f + y)));
    text->Show();
    return bar;
}

/*
 * Init --
 *     Side effects: a saved player is first mended from the library's
 *     player (nPlayerFile::Mend); the boxer's Init; score and next
 *     opponent from the prototype (a missing, mistyped or negative one is
 *     reported and 0 is kept); the name label shows the prototype's
 *     "name" at the top left, hidden; the two HUD bars; the bonus sound.
 *     A prototype the boxer could not be built from leaves the player at
 *     that: it stands, with no bars and no progression to write.
 */
void nPlayer::Init(const char* proto)
{
    // only a saved player is mended: a script may name any object as the player
    nRoot* saved = (proto && *proto) ? kernelServer->Lookup(proto) : nullptr;
    nRoot* players = kernelServer->Lookup(nPlayerFile::PlayersPath);
    if (saved && players && saved->GetParent() == players)
    {
        nPlayerFile::Mend(saved, kernelServer->Lookup(nPlayerFile::LibraryPlayer));
    }
    nBoxer::Init(proto);
    if (!this->m_refProto.isvalid()) return;
    for (int* value : {&this->m_iScore, &this->m_iNextEnemy})
    {
        const char* key = (value == &this->m_iScore) ? "score" : "next-enemy";
        int v = 0;
        if (this->ReadVarI(key, v) && v >= 0) *value = v;
        else n_printf("nPlayer: prototype '%s' has no usable count '%s'; 0 is kept\n", proto, key);
    }
    nString name;
    if (!this->ReadVarS("name", name)) n_printf("nPlayer: prototype '%s' has no text \"name\"\n", proto);
    if (this->HasGuiName())
    {
        nGuiTextLabel* label = this->GetGuiName();
        label->SetText(name.Get());
        label->SetRect(rectangle(vector2(0.01f, 0.0f), vector2(0.2f, 0.1f)));
        label->SetAlignment(nGuiTextLabel::Right);
        label->Hide();
    }
    this->m_refHealthBar.adopt(this->NewBar("health_bar", true));
    n_assert(m_refHealthBar.isvalid());
    this->m_refEnergyBar.adopt(this->NewBar("energy_bar", false));
    n_assert(m_refEnergyBar.isvalid());
    if (nApp::HasInstance())
    {
        this->m_refBNSound.adopt(nApp::Instance()->CreateSound("sound:bonus-notification.n2", nApp::SoundInstanceType));
    }
    // like the match's own sounds, a missing description leaves the bonus silent
    if (!this->m_refBNSound.isvalid()) n_printf("nPlayer: no bonus sound; bonuses come silently\n");
}

/*
 * ReadInput --
 *     Side effects: hook and uppercut follow their buttons; the right
 *     button punches right, else the left button left (the opponent
 *     starts reacting); the space bar raises and lowers the guard;
 *     "take-bonus" takes a bonus; the mouse steers.
 */
void nPlayer::ReadInput()
{
    nInputServer* input = InputServer();
    if (!input) return;
    nAI* ai = nAI::HasInstance() ? nAI::Instance() : nullptr;
    this->SetHookHeld(input->GetButton("hook"));
    this->SetUppercutHeld(input->GetButton("uppercut"));
    bool started = false;
    if (input->GetButton("btn1_down")) started = this->Punch(ai, 2);
    else if (input->GetButton("btn0_down")) started = this->Punch(ai, 1);
    if (started && ai) ai->StartReaction();
    if (input->GetButton("space_down")) this->SetDefence(true);
    else if (input->GetButton("space_up")) this->SetDefence(false);
    if (input->GetButton("take-bonus")) this->TakeBonus();
    const vector2 m = input->GetMousePos() * 2.0f - vector2(1.0f, 1.0f);
    this->SetMoveDirection(vector3(m.x * 4.0f, 0.0f, m.y * 4.0f));
}

/*
 * Trigger --
 *     Side effects: on the first frame the bonus value becomes a fifth of
 *     the opponent's health (at least 1); the bars show health and
 *     energy; the boxer's frame, the hit test against the opponent, the
 *     fists' aim, then the input.
 */
void nPlayer::Trigger(float* dt)
{
    nAI* ai = nAI::HasInstance() ? nAI::Instance() : nullptr;
    if (this->m_iBonusValue == 0)
    {
        // an opponent below 5 health would make a bonus of 0 score
        this->m_iBonusValue = std::max(1, ai ? (int)(ai->GetHealth() * 0.2f) : 1);
    }
    if (this->m_refHealthBar.isvalid()) this->m_refHealthBar->SetValue(this->m_fHealth / this->healthMax);
    if (this->m_refEnergyBar.isvalid()) this->m_refEnergyBar->SetValue(this->m_fEnergy / this->energyMax);
    nBoxer::Trigger(dt);
    this->CheckHits(ai);
    if (ai) this->SetFistTargets(ai->GetTransform().gettranslation());
    this->ReadInput();
}

void nPlayer::OnHit(const vector3& impulse)
{
    if (nAI::HasInstance() && nAI::Instance()->GetHealth() < 0.0f) return;
    const bool wasStanding = this->m_fHealth >= 0.0f;
    nBoxer::OnHit(impulse);
    matrix44 m;
    m.translate(this->GetTransform().gettranslation());
    nGame::Instance()->PlayPlayerHitSound(m);
    if (wasStanding && this->m_fHealth < 0.0f) RunScript("ShowYouLost");
}

/*
 * AddScore --
 *     Side effects: the score counts towards the match's average and the
 *     next bonus; once more than the bonus value is collected, a bonus is
 *     pending, announced by script and sound.
 */
void nPlayer::AddScore(int score)
{
    n_assert(m_iBonusValue > 0);
    this->scoreTotal += score;
    this->scoreCount++;
    this->bonusProgress += score;
    if (this->bonusProgress > this->m_iBonusValue)
    {
        this->bonusProgress = 0;
        this->pendingBonuses++;
        RunScript("ShowBonusNotification");
        if (this->m_refBNSound.isvalid())
        {
            this->m_refBNSound->Stop();
            nGame::StartSound(this->m_refBNSound.get());
        }
    }
}

void nPlayer::TakeBonus()
{
    if (this->pendingBonuses == 0) return;
    this->pendingBonuses--;
    if (this->pendingBonuses == 0) RunScript("HideBonusNotification");
    this->ApplyRandomBonus();
}

void nPlayer::ApplyRandomBonus()
{
    const float r = n_rand();
    if (r < 0.2f) this->m_fEnergy += this->energyMax * 0.25f;
    else if (r < 0.4f) this->m_fHealth = std::min(this->m_fHealth + this->healthMax * 0.25f, this->healthMax);
    else if (r < 0.6f)
    {
        nGame::Instance()->SetBonusTime(1, 2.5f);
        RunScript("ShowSlowModeIcon");
    }
    else if (r < 0.8f)
    {
        if (nAI::HasInstance()) nAI::Instance()->SetVulnerable(5.0f);
        RunScript("ShowVulnerableAIIcon");
    }
    else if (r < 1.0f)
    {
        nGame::Instance()->SetFatalPunch(5.0f);
        RunScript("ShowFatalPunchIcon");
    }
}

void nPlayer::IncreaseRandomStat()
{
    const float r = n_rand();
    const Stat* stats = Stats();
    for (int i = 0; i < NumStats; i++)
    {
        const float bound = (i + 1 == NumStats) ? 1.0f : 0.11f * (float)(i + 1);
        if (r < bound)
        {
            this->*(stats[i].member) += stats[i].step;
            this->WriteVarF(stats[i].key, this->*(stats[i].member));
            return;
        }
    }
}

/*
 * WriteProgression --
 *     Side effects: "/usr/player-buffer" becomes a clone of the
 *     prototype as it stood before the match; after a win five
 *     statistics grow, the score grows by the match's average and the
 *     next opponent is the next one, all written into the prototype;
 *     the buffer then holds the score gained and the steps each
 *     statistic grew.
 */
void nPlayer::WriteProgression()
{
    if (nRoot* old = kernelServer->Lookup(BufferPath)) old->Release();
    nRoot* usr = kernelServer->Lookup("/usr");
    n_assert(usr != 0);
    kernelServer->PushCwd(usr);
    this->m_refBuffer = static_cast<nRoot*>(this->GetProto()->Clone("player-buffer"));
    kernelServer->PopCwd();
    n_assert(m_refBuffer.isvalid());

    int gained = 0;
    if (this->won)
    {
        for (int i = 0; i < 5; i++) this->IncreaseRandomStat();
        if (this->scoreCount > 0)
        {
            gained = this->scoreTotal / this->scoreCount;
            this->m_iScore = SaturatingAdd(this->m_iScore, gained);
            this->WriteVarI("score", this->m_iScore);
        }
        this->m_iNextEnemy = SaturatingAdd(this->m_iNextEnemy, 1);
        this->WriteVarI("next-enemy", this->m_iNextEnemy);
    }

    // the prototype was mended before the match, but a script may have
    // changed it since: a value the buffer lacks is reported and skipped
    nRoot* buffer = this->m_refBuffer.get();
    auto param = [buffer](const char* key) {
        nRoot* p = buffer->Find(key);
        nEnv* env = (p && p->IsA("nenv")) ? static_cast<nEnv*>(p) : nullptr;
        if (env && (env->GetType() == nArg::Int || env->GetType() == nArg::Float)) return env;
        n_printf("nPlayer: the prototype holds no number '%s'; the match's gain in it is not shown\n", key);
        return static_cast<nEnv*>(nullptr);
    };
    if (nEnv* score = param("score")) SetNumber(score, (float)gained);
    const Stat* stats = Stats();
    for (int i = 0; i < NumStats; i++)
    {
        nEnv* env = param(stats[i].key);
        if (!env) continue;
        const float old = env->GetType() == nArg::Int ? (float)env->GetI() : env->GetF();
        SetNumber(env, (this->*(stats[i].member) - old) / stats[i].step);
    }
}
